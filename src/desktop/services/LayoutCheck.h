#pragma once
// Finds controls that their window shows smaller than their text needs: cut-off labels, buttons
// and boxes, as happen with large fonts or a scale factor the layout was not made for.

#include <QStringList>

class QWidget;

// "objectName (class): shown WxH, needs WxH" for each visible label, button, check box, option
// button or text box inside `window` narrower or lower than its minimum size hint.
QStringList FindClippedControls(const QWidget* window);
