#include "desktop/services/LayoutCheck.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace {

bool HasText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return !label->text().isEmpty();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return !button->text().isEmpty();
    return qobject_cast<const QLineEdit*>(widget) != nullptr;
}

QString Describe(const QWidget* widget, QSize needed)
{
    return QStringLiteral("%1 (%2): shown %3x%4, needs %5x%6")
        .arg(widget->objectName().isEmpty() ? QStringLiteral("<unnamed>") : widget->objectName(),
             QLatin1String(widget->metaObject()->className()))
        .arg(widget->width())
        .arg(widget->height())
        .arg(needed.width())
        .arg(needed.height());
}

} // namespace

QStringList FindClippedControls(const QWidget* window)
{
    QStringList clipped;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || !HasText(widget)) continue;
        // A text box only needs room for one line; its width is the layout's choice.
        const bool textBox = qobject_cast<const QLineEdit*>(widget) != nullptr;
        const QSize needed = widget->minimumSizeHint();
        if (widget->height() < needed.height() || (!textBox && widget->width() < needed.width()))
            clipped << Describe(widget, needed);
    }
    return clipped;
}
