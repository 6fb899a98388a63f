#include "desktop/services/HelpWindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "desktop/services/DesktopServices.h"
#include "desktop/services/MessageBoxes.h"

namespace {

// The help window: a Back button over the page, closed with Esc or Ctrl+W like other viewers.
QWidget* NewHelpWindow()
{
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("HelpWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Quillon Help"));

    auto* page = new QTextBrowser(window);
    page->setObjectName(QStringLiteral("HelpPage"));
    page->setOpenExternalLinks(true);
    auto* back = new QPushButton(QStringLiteral("&Back"), window);
    back->setObjectName(QStringLiteral("HelpBack"));
    back->setEnabled(false);
    back->setAutoDefault(false);
    QObject::connect(back, &QPushButton::clicked, page, &QTextBrowser::backward);
    QObject::connect(page, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);

    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* close = new QAction(window);
        close->setShortcut(key);
        QObject::connect(close, &QAction::triggered, window, &QWidget::close);
        window->addAction(close);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(buttons);
    layout->addWidget(page);
    window->resize(page->fontMetrics().averageCharWidth() * 90, page->fontMetrics().lineSpacing() * 36);
    return window;
}

} // namespace

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
    // A top-level window of its own: help stays open while the user works in the program.
    static QPointer<QWidget> window;
    if (!window) window = NewHelpWindow();
    window->findChild<QTextBrowser*>(QStringLiteral("HelpPage"))->setSource(QUrl(page));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
