#pragma once
// F1 in a window or dialog: the help contents, shown through the desktop's help call as the main
// window's Help > Contents shows them.

class DesktopServices;
class QAction;
class QWidget;

// Gives `window` an action "HelpKey" on F1, active while `window` is the active window, that asks
// `services` for the contents topic. The action belongs to `window`; `services` must outlive it.
QAction* AddHelpKey(QWidget& window, DesktopServices& services);
