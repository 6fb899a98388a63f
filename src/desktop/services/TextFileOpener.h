#pragma once
// Opens a text file for the user without waiting: the desktop's program for text files
// (xdg-open), else the user's VISUAL or EDITOR in a terminal. When neither can, a message box
// names the file, so a menu item never does nothing in silence.

#include <QString>

class QWidget;

// VISUAL, EDITOR and PATH are the process's own. False when nothing could be started (the message
// has been shown). The desktop opener reports its failure only when it ends, so the fallback and
// the message may also come after this has returned true; `parent` may be gone by then.
bool OpenTextFile(QWidget* parent, const QString& path);

// The message shown when nothing could open `path`.
QString CannotOpenTextFileText(const QString& path);
