#include "desktop/services/WindowFrame.h"

#include <QWidget>

void KeepNaturalSize(QWidget& window)
{
    // With CustomizeWindowHint only the hints named here are shown, so each one wanted is named.
    Qt::WindowFlags flags = window.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (window.windowType() != Qt::Dialog) flags |= Qt::WindowMinimizeButtonHint;
    window.setWindowFlags(flags & ~Qt::WindowMaximizeButtonHint);
}
