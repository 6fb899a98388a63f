#pragma once
// The help topics, shown from the HTML pages the program carries.

#include <QString>

class QWidget;

// Resource path of the page for a help context number (1 contents, 102 contact); empty for others.
QString HelpPageFor(int contextNumber);

// Shows the topic in the one help window (created on first use, raised afterwards). An unknown
// topic is reported the way a help system would, with a message box. Returns the help window, or
// nothing for an unknown topic.
QWidget* ShowHelpTopic(QWidget* parent, int contextNumber);
