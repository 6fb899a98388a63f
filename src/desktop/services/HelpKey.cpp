#include "desktop/services/HelpKey.h"

#include <QAction>
#include <QWidget>

#include "desktop/services/DesktopServices.h"

QAction* AddHelpKey(QWidget& window, DesktopServices& services)
{
    auto* action = new QAction(&window);
    action->setObjectName(QStringLiteral("HelpKey"));
    action->setShortcut(Qt::Key_F1);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window,
                     [&window, &services] { services.ShowHelpTopic(&window, HelpContentsTopic); });
    window.addAction(action);
    return action;
}
