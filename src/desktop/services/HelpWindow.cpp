#include "desktop/services/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "desktop/services/DesktopServices.h"
#include "desktop/services/MessageBoxes.h"

QString HelpPageFor(int contextNumber)
{
    switch (contextNumber) {
    case HelpContentsTopic: return QStringLiteral("qrc:/quillon/help/contents.html");
    case HelpContactTopic: return QStringLiteral("qrc:/quillon/help/contact.html");
    default: return {};
    }
}

QWidget* ShowHelpTopic(QWidget* parent, int contextNumber)
{
    const QString page = HelpPageFor(contextNumber);
    if (page.isEmpty()) {
        MessageBoxes::ShowMessage(parent, QStringLiteral("Help topic %1 does not exist.").arg(contextNumber));
        return nullptr;
    }
    static QPointer<QTextBrowser> window;
    if (!window) {
        // A top-level window of its own: help stays open while the user works in the program.
        window = new QTextBrowser;
        window->setObjectName(QStringLiteral("HelpWindow"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setOpenExternalLinks(true);
        window->setWindowTitle(QStringLiteral("Quillon Help"));
        window->resize(window->fontMetrics().averageCharWidth() * 90, window->fontMetrics().lineSpacing() * 34);
    }
    window->setSource(QUrl(page));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
