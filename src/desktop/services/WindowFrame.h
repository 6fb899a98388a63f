#pragma once
// Windows whose content has one natural size get a title bar without a maximise box: maximised,
// they would only leave their content in a corner of a large empty window.

class QWidget;

// Call before the window is first shown: the title, system menu and close box stay, and windows
// that are not dialogs keep their minimise box.
void KeepNaturalSize(QWidget& window);
