// Keys and frames over every window: no access key taken twice in one window (menu titles
// included), no maximise box on a window of one natural size, the help window's Back, Esc and
// Ctrl+W, and Ctrl+Q ending the program from the run window, after which nothing comes back.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>
#include <functional>

#include "DesktopFixture.h"
#include "core/run/ReplaySource.h"
#include "core/text/TextFile.h"
#include "desktop/DesktopSession.h"
#include "desktop/dialogs/Agree.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/dialogs/Interest.h"
#include "desktop/dialogs/QuoteServer.h"
#include "desktop/services/HelpWindow.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/windows/PassTableWindow.h"
#include "desktop/windows/Splash.h"
#include "desktop/windows/Tracing.h"

namespace {

ServerSourceFactory ReplayOnly()
{
    return [](SharedState& s, RunHost& host, std::function<void()>) {
        return std::unique_ptr<QuoteSource>(std::make_unique<ReplaySource>(s, host));
    };
}

// Every caption's access key in `window`, "&Setup" giving "S": menu titles, labels, buttons, frames.
QStringList AccessKeys(const QWidget& window)
{
    QStringList captions;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(widget)) captions << label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) captions << button->text();
        if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) captions << frame->title();
        if (const auto* menus = qobject_cast<const QMenuBar*>(widget))
            for (const QAction* menu : menus->actions()) captions << menu->text();
    }
    QStringList keys;
    for (const QString& caption : captions)
        if (const QKeySequence key = QKeySequence::mnemonic(caption); !key.isEmpty()) keys << key.toString();
    return keys;
}

bool OffersMaximise(const QWidget& window)
{
    const Qt::WindowFlags flags = window.windowFlags();
    return !flags.testFlag(Qt::CustomizeWindowHint) || flags.testFlag(Qt::WindowMaximizeButtonHint);
}

} // namespace

class WindowKeysTest : public QObject, private DesktopFixture {
    Q_OBJECT
public:
    WindowKeysTest() : DesktopFixture(LocalDateTime{2026, 12, 4, 15, 30, 0}) {}

private slots:
    void init()
    {
        NewProgramDirectoryWithDefaults();
        state->Settings.GetQuoteFromLocalFile = true;
        QVERIFY(ReplaceFile(state->Settings.FnSym, "IBM\r\n"));
        services = FakeDesktopServices();
        MessageBoxes::BeginScript();
    }
    void cleanup() { MessageBoxes::EndScript(); }

    void eachWindowHasDistinctAccessKeysAndOnlyResizableOnesMaximise_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("maximises");
        QTest::newRow("Splash") << "Splash" << false;
        QTest::newRow("Tracing") << "Tracing" << true;
        QTest::newRow("QuoteServer") << "QuoteServer" << false;
        QTest::newRow("Filter") << "Filter" << false;
        QTest::newRow("Interest") << "Interest" << false;
        QTest::newRow("Agree") << "Agree" << true;
        QTest::newRow("HelpWindow") << "HelpWindow" << true;
        QTest::newRow("PassTableWindow") << "PassTableWindow" << true;
    }
    void eachWindowHasDistinctAccessKeysAndOnlyResizableOnesMaximise()
    {
        QFETCH(QString, window);
        QFETCH(bool, maximises);
        bool accepted = false;
        const QMap<QString, std::function<QWidget*()>> make{
            {"Splash", [&] { return new Splash(*state, services); }},
            {"Tracing", [&] { return new Tracing(*state, services, ReplayOnly()); }},
            {"QuoteServer", [&] { return new QuoteServer(*state, services); }},
            {"Filter", [&] { return new Filter(*state, services); }},
            {"Interest", [&] { return new Interest(*state, services); }},
            {"Agree", [&] { return new Agree(accepted, services); }},
            {"HelpWindow", [] { return ShowHelpTopic(nullptr, HelpContentsTopic); }},
            {"PassTableWindow", [&] { return new PassTableWindow(*state, services); }},
        };
        const QPointer<QWidget> shown(make[window]());
        const QStringList keys = AccessKeys(*shown);
        QVERIFY2(QSet<QString>(keys.begin(), keys.end()).size() == keys.size(), qPrintable(keys.join(' ')));
        QCOMPARE(OffersMaximise(*shown), maximises);
        shown->close();
        delete shown;
    }

    void helpGoesBackAndClosesWithEscOrCtrlW()
    {
        for (const QKeySequence& closeKey : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            const QPointer<QWidget> help = ShowHelpTopic(nullptr, HelpContentsTopic);
            QVERIFY(QTest::qWaitForWindowActive(help));
            auto* page = help->findChild<QTextBrowser*>(QStringLiteral("HelpPage"));
            auto* back = help->findChild<QPushButton*>(QStringLiteral("HelpBack"));
            QVERIFY(!back->isEnabled());
            ShowHelpTopic(nullptr, HelpContactTopic);
            QCOMPARE(page->source(), QUrl(HelpPageFor(HelpContactTopic)));
            back->click();
            QCOMPARE(page->source(), QUrl(HelpPageFor(HelpContentsTopic)));
            QTest::keySequence(help, closeKey);
            QTRY_VERIFY2(help.isNull(), qPrintable(closeKey.toString()));
        }
    }

    void ctrlQInTheRunWindowEndsTheProgramAndTheMainWindowReturnsWhereItStood()
    {
        DesktopSession session(*state, services, ReplayOnly());
        session.ShowMainWindow();
        session.MainWindow()->move(123, 77);
        QVERIFY(QTest::qWaitForWindowExposed(session.MainWindow()));
        const QPoint where = session.MainWindow()->pos();
        session.MainWindow()->Command1->click();
        QVERIFY(QTest::qWaitForWindowActive(session.RunWindow()));
        session.RunWindow()->close();
        QTRY_VERIFY(session.MainWindow() && session.MainWindow()->isVisible());
        QCOMPARE(session.MainWindow()->pos(), where);

        session.MainWindow()->Command1->click();
        const QPointer<Tracing> run = session.RunWindow();
        QVERIFY(QTest::qWaitForWindowActive(run));
        QTest::keyClick(run, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(session.Ending());
        QTRY_VERIFY(run.isNull() || !run->isVisible());
        QVERIFY(!session.MainWindow() || !session.MainWindow()->isVisible());
    }
};

QTEST_MAIN(WindowKeysTest)
#include "WindowKeysTest.moc"
