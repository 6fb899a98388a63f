// The main window: quote source check marks, the ticker, and the File, View and Help menus
// driven through their actions with a recording desktop and scripted message boxes.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "DesktopFixture.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "desktop/windows/Splash.h"
#include "desktop/services/MessageBoxes.h"

namespace {

QString Read(const std::string& path) { return QString::fromStdString(ReadWholeFile(path).value_or("<missing>")); }

} // namespace

class SplashTest : public QObject, private DesktopFixture {
    Q_OBJECT
private:
    std::unique_ptr<Splash> splash;

    void Trigger(const char* item)
    {
        auto* action = splash->findChild<QAction*>(QLatin1String(item));
        QVERIFY2(action, item);
        action->trigger();
    }

private slots:
    void init()
    {
        NewProgramDirectoryWithDefaults();
        services = FakeDesktopServices();
        MessageBoxes::BeginScript();
    }
    void cleanup()
    {
        splash.reset();
        MessageBoxes::EndScript();
    }

    void showsCaptionVersionAndTicker()
    {
        splash = std::make_unique<Splash>(*state, services);
        QCOMPARE(splash->windowTitle(), QStringLiteral("Welcome to Quillon [") + dir->path() + QStringLiteral("/Symbols.sym]"));
        QCOMPARE(splash->Label1->text(), QStringLiteral("Version 1.77"));
        QCOMPARE(splash->Text1->text(), QString::fromLatin1(SampleTickerText) + QString::fromLatin1(SampleTickerText));
        QVERIFY(splash->Timer1->isActive());
        QCOMPARE(splash->Timer1->interval(), 220);
        QSignalSpy start(splash.get(), &Splash::StartRequested);
        splash->Command1->click();
        QCOMPARE(start.count(), 1);
    }

    void quoteSourceCheckMarksFollowTheSetting()
    {
        state->Settings.GetQuoteFromLocalFile = true;
        splash = std::make_unique<Splash>(*state, services);
        QVERIFY(splash->mnuGetQuoteFromLocalFile->isChecked());
        QVERIFY(!splash->mnuGetQuoteFromQuoteServer->isChecked());

        Trigger("mnuGetQuoteFromQuoteServer");
        QVERIFY(splash->mnuGetQuoteFromQuoteServer->isChecked());
        QVERIFY(!splash->mnuGetQuoteFromLocalFile->isChecked());
        QVERIFY(!state->Settings.GetQuoteFromLocalFile);
        QCOMPARE(SettingsLine(36), QStringLiteral("#FALSE#"));

        // Choosing the checked item again keeps it checked and writes once more.
        Trigger("mnuGetQuoteFromLocalFile");
        Trigger("mnuGetQuoteFromLocalFile");
        QVERIFY(splash->mnuGetQuoteFromLocalFile->isChecked());
        QVERIFY(!splash->mnuGetQuoteFromQuoteServer->isChecked());
        QCOMPARE(SettingsLine(36), QStringLiteral("#TRUE#"));
    }

    void tickerWrapsOnTheFiftySeventhTick()
    {
        splash = std::make_unique<Splash>(*state, services);
        splash->Timer1->stop();
        for (int i = 0; i < 56; ++i) splash->Timer1_Timer();
        QCOMPARE(splash->TickerLeft(), -8400);
        QCOMPARE(splash->Text1->x(), -8400 * splash->logicalDpiX() / 1440);
        splash->Timer1_Timer();
        QCOMPARE(splash->TickerLeft(), 0);
        QCOMPARE(splash->Text1->x(), 0);
    }

    void openingAMenuStopsTheTickerUntilTheMouseMovesOverIt()
    {
        splash = std::make_unique<Splash>(*state, services);
        auto* fileMenu = splash->findChild<QMenu*>(QStringLiteral("mnuFile"));
        QVERIFY(fileMenu);
        emit fileMenu->aboutToShow();
        QVERIFY(!splash->Timer1->isActive());
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), splash->Text1->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(splash->Text1, &move);
        QVERIFY(splash->Timer1->isActive());
    }

    // What each symbol file action does is SymbolFileActionsTest's; here the menu reaches it and the
    // caption follows the chosen file.
    void symbolFileMenusReachTheirActions()
    {
        splash = std::make_unique<Splash>(*state, services);
        services.nextChoice = dir->filePath(QStringLiteral("Mylist.txt"));
        Trigger("mnuChoose");
        QCOMPARE(splash->windowTitle(), QStringLiteral("Welcome to Quillon [") + *services.nextChoice + QStringLiteral("]"));
        QCOMPARE(SettingsLine(35), QStringLiteral("\"") + *services.nextChoice + QStringLiteral("\""));

        Trigger("mnuEditSymbols");
        QCOMPARE(services.opened, QStringList{*services.nextChoice});

        // GoodSym.txt and BadSym.txt are missing: the list moves across.
        QVERIFY(ReplaceFile(state->Settings.FnSym, "IBM\r\n"));
        MessageBoxes::QueueAnswer(true);
        Trigger("mnuSwap2");
        QCOMPARE(Read(state->Paths.FnGoodSym), QStringLiteral("IBM\r\n"));
        QVERIFY(ReplaceFile(state->Settings.FnSym, "MSFT\r\n"));
        MessageBoxes::QueueAnswer(true);
        Trigger("mnuSwap3");
        QCOMPARE(Read(state->Paths.FnBadSym), QStringLiteral("MSFT\r\n"));
        QCOMPARE(MessageBoxes::TakeShown().size(), 2);
    }

    void viewersAndHelpGoToTheDesktop()
    {
        splash = std::make_unique<Splash>(*state, services);
        for (const char* item : {"mnuGoodSym", "mnuBadSym", "mnuResultsSymols", "mnuResults", "mnuRunNotepad"}) Trigger(item);
        QCOMPARE(services.opened, (QStringList{QString::fromStdString(state->Paths.FnGoodSym),
                                               QString::fromStdString(state->Paths.FnBadSym),
                                               QString::fromStdString(state->Paths.FnSavedSym),
                                               QString::fromStdString(state->Paths.FnResults), dir->filePath("Notes.txt")}));
        QVERIFY(QFile::exists(dir->filePath("Notes.txt")));
        Trigger("mnuContents");
        Trigger("mnuHowToContactUs");
        QCOMPARE(services.helpTopics, (QList<int>{1, 102}));
        QCOMPARE(splash->findChild<QAction*>(QStringLiteral("mnuContents"))->shortcut(), QKeySequence(Qt::Key_F1));
    }
};

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
