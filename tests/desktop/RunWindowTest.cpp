// The run window's wiring to the run controller (whose decisions RunControllerTest covers): lamp,
// status, buttons and the Go question of a pass, closing mid-run with the main window coming back
// and the next run window resuming at the same symbol, the alarm's timer and its hint, a server
// that does not answer, a window that fits the screen, and ending the program in the middle of a
// run, of a question and of a settings dialog.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "DesktopFixture.h"
#include "core/run/ServerSource.h"
#include "core/text/TextFile.h"
#include "desktop/DesktopSession.h"
#include "desktop/RefusingTransfer.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/windows/Tracing.h"

namespace {
// A quote server stand-in that holds each symbol until the test lets it through.
struct GateLog {
    int released = 0;
    int cancels = 0;
    QStringList begun;
};

class GateSource final : public QuoteSource {
public:
    GateSource(GateLog& log, SharedState& state) : log_(log), state_(state) {}
    bool StartPass() override { return true; }
    void BeginSymbol() override { log_.begun << QString::fromStdString(state_.Run.CurrentSymbol); }
    std::optional<std::int16_t> Step() override
    {
        if (log_.released == 0) return std::nullopt;
        --log_.released;
        return std::int16_t{0}; // the symbol's pages were unusable: it ends as a bad symbol
    }
    void Cancel() override { ++log_.cancels; }

private:
    GateLog& log_;
    SharedState& state_;
};

struct ButtonStates {
    bool go, pause, reset, print;
    bool operator==(const ButtonStates&) const = default;
};

ButtonStates Buttons(const Tracing& window)
{
    return {window.CmdGo->isEnabled(), window.CmdStop->isEnabled(), window.CmdReset->isEnabled(),
            window.CmdPrint->isEnabled()};
}

constexpr ButtonStates WhileRunning{false, true, false, false};
constexpr ButtonStates WhilePaused{true, false, true, true};

} // namespace

class RunWindowTest : public QObject, private DesktopFixture {
    Q_OBJECT
public:
    RunWindowTest() : DesktopFixture(LocalDateTime{2026, 12, 4, 15, 30, 0}) {}

private:
    GateLog gate;
    RefusingTransfer refusing;

    ServerSourceFactory GateFactory()
    {
        return [this](SharedState& s, RunHost&, std::function<void()>) {
            return std::unique_ptr<QuoteSource>(std::make_unique<GateSource>(gate, s));
        };
    }
    ServerSourceFactory RefusingServer()
    {
        return [this](SharedState& s, RunHost& host, std::function<void()> pause) {
            return std::unique_ptr<QuoteSource>(std::make_unique<ServerSource>(s, host, refusing, std::move(pause)));
        };
    }
    // Symbols and a quote cache without records: every replayed symbol is bad.
    void PrepareDirectory(bool localFile, const std::string& symbols = "IBM\r\nMSFT\r\nINTC\r\n")
    {
        NewProgramDirectoryWithDefaults();
        state->Settings.GetQuoteFromLocalFile = localFile;
        QVERIFY(ReplaceFile(state->Settings.FnSym, symbols));
        QVERIFY(ReplaceFile(state->Paths.FnQuote, ""));
    }
    static QColor LampColour(const Tracing& window) { return window.Picture1->palette().color(QPalette::Window); }

private slots:
    void init()
    {
        gate = GateLog();
        services = FakeDesktopServices();
        MessageBoxes::BeginScript();
    }
    void cleanup() { MessageBoxes::EndScript(); }

    void aReplayedPassEndsDoneAccountedForAndGoAsksBeforeANewOne()
    {
        PrepareDirectory(true);
        Tracing window(*state, services, GateFactory());
        window.show();
        QCOMPARE(window.windowTitle(), QString());
        QTRY_COMPARE(window.Status1->text(), QStringLiteral("Done"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tracing [") + QString::fromStdString(state->Settings.FnSym) + "]");
        QCOMPARE(window.Status2->text(), QStringLiteral("Pass done: 3 symbols evaluated, 0 with quotes, 3 without, 0 saved. "
                                                        "3 of 3 symbols are not in Quote.txt."));
        QCOMPARE(window.LampText(), QStringLiteral("Pass done"));
        QCOMPARE(LampColour(window), QColor(192, 192, 192));
        QCOMPARE(window.Picture1->accessibleName(), QStringLiteral("Status lamp: Pass done"));
        QCOMPARE(Buttons(window), WhilePaused);

        MessageBoxes::TakeShown();
        MessageBoxes::QueueAnswer(false);
        window.CmdGo->click();
        QCOMPARE(MessageBoxes::TakeShown(), QStringList{QStringLiteral("Go ?|This will overwrite Results.txt, are you sure ?")});
        QCOMPARE(window.Controller().PassesCompleted(), 1);
        MessageBoxes::QueueAnswer(true);
        window.CmdGo->click();
        QTRY_COMPARE(window.Controller().PassesCompleted(), 2);
    }

    void closingMidRunBringsTheMainWindowBackAndTheNextRunResumes()
    {
        PrepareDirectory(false, "AAA\r\nBBB\r\nCCC\r\n");
        DesktopSession session(*state, services, GateFactory());
        session.ShowMainWindow();
        QVERIFY(session.MainWindow());
        session.MainWindow()->Command1->click();
        QVERIFY(session.RunWindow());
        QTRY_VERIFY(!session.MainWindow()); // the main window is unloaded

        gate.released = 1;
        QTRY_COMPARE(gate.begun, (QStringList{"AAA", "BBB"}));
        QCOMPARE(session.RunWindow()->LampText(), QStringLiteral("Running"));
        QCOMPARE(LampColour(*session.RunWindow()), QColor(0, 255, 0));
        QCOMPARE(Buttons(*session.RunWindow()), WhileRunning);
        session.RunWindow()->close();
        QVERIFY(gate.cancels >= 1); // the transfer in progress is abandoned
        QTRY_VERIFY(session.MainWindow() && session.MainWindow()->isVisible());
        QTRY_VERIFY(!session.RunWindow());
        QCOMPARE(state->Run.SymbolIndex, std::int16_t(2));

        session.MainWindow()->Command1->click();
        QTRY_COMPARE(gate.begun, (QStringList{"AAA", "BBB", "BBB"}));
        QVERIFY(MessageBoxes::TakeShown().isEmpty()); // resumed without asking
        session.RunWindow()->close();
        QTRY_VERIFY(session.MainWindow());
        session.MainWindow()->close();
    }

    void theAlarmChimesEveryTwelveTicksUntilTheAlarmBoxIsClicked()
    {
        PrepareDirectory(true, "IBM\r\n");
        Tracing window(*state, services, GateFactory());
        window.show();
        QTRY_COMPARE(window.Status1->text(), QStringLiteral("Done"));
        state->Run.AlarmBeeps = 60;
        state->Run.BeepTickCounter = 0;
        QTest::qWait(900);
        QCOMPARE(services.beeps, 0);
        QTRY_COMPARE_WITH_TIMEOUT(services.beeps, 1, 1000);
        QCOMPARE(state->Run.AlarmBeeps, std::int16_t(59));
        window.CkAlarm->click();
        QCOMPARE(state->Run.AlarmBeeps, std::int16_t(0));
    }

    // Ending the program (SIGTERM, SIGINT) closes the run between two steps: the transfer in hand is
    // abandoned, the progress record keeps the last finished symbol, the main window stays away.
    void endingTheProgramMidRunKeepsTheProgressRecord()
    {
        PrepareDirectory(false, "AAA\r\nBBB\r\nCCC\r\n");
        DesktopSession session(*state, services, GateFactory());
        session.ShowMainWindow();
        session.MainWindow()->Command1->click();
        gate.released = 1;
        QTRY_COMPARE(gate.begun, (QStringList{"AAA", "BBB"}));
        const std::string progress = ReadWholeFile(state->Paths.FnProgress).value_or("<missing>");
        QCOMPARE(progress, std::string("0,1\r\n"));

        session.EndProgram();
        QVERIFY(session.Ending());
        QTRY_VERIFY(!session.RunWindow());
        QVERIFY(gate.cancels >= 1);
        QTest::qWait(50);
        QVERIFY(!session.MainWindow());
        QCOMPARE(ReadWholeFile(state->Paths.FnProgress).value_or("<missing>"), progress);
    }

    // A real question on screen when the program is told to end: it is answered No, the click
    // that asked it finishes, and only then does the run window close, however many signals come.
    void endingTheProgramAnswersAnOpenQuestionNoFirst()
    {
        PrepareDirectory(true, "IBM\r\n");
        DesktopSession session(*state, services, GateFactory());
        session.ShowMainWindow();
        session.MainWindow()->Command1->click();
        QTRY_VERIFY(session.RunWindow() && session.RunWindow()->Status1->text() == QStringLiteral("Done"));
        MessageBoxes::EndScript();
        QPointer<Tracing> window = session.RunWindow();
        bool stepOnStackWhenAsked = false;
        bool openAfterSecondSignal = false;
        QTimer::singleShot(0, &session, [&] {
            stepOnStackWhenAsked = window && window->InStep() && QApplication::activeModalWidget();
            session.EndProgram();
            session.EndProgram(); // a second signal, while the question's step is still on the stack
            openAfterSecondSignal = window && window->isVisible();
        });
        window->CmdGo->click(); // "Go ?" waits here until the ending closes it
        QVERIFY(stepOnStackWhenAsked);
        QVERIFY(openAfterSecondSignal);
        QVERIFY(window && window->isVisible()); // the click's step comes first
        QCOMPARE(window->Controller().PassesCompleted(), 1);
        QTRY_VERIFY(!window);
        QVERIFY(!session.MainWindow());
        MessageBoxes::BeginScript();
    }

    // A settings dialog open when the program is told to end closes as by its close box, and so
    // saves; then the main window goes.
    void endingTheProgramClosesAndSavesAnOpenDialog()
    {
        PrepareDirectory(true, "IBM\r\n");
        DesktopSession session(*state, services, GateFactory());
        session.ShowMainWindow();
        QPointer<Splash> mainWindow = session.MainWindow();
        QTimer::singleShot(0, &session, [&] {
            auto* rate = QApplication::activeModalWidget()->findChild<QLineEdit*>(QStringLiteral("TX_Interest"));
            rate->setText(QStringLiteral("6.5"));
            session.EndProgram();
        });
        mainWindow->findChild<QAction*>(QStringLiteral("mnuInterest"))->trigger();
        QCOMPARE(state->Settings.InterestRate, 0.065f);
        QCOMPARE(SettingsLine(7), QStringLiteral("0.065"));
        QTRY_VERIFY(!mainWindow);
    }

    void anUnreachableServerShowsRetryingWithTheCountAndWhatToCheck()
    {
        PrepareDirectory(false);
        state->Settings.DnsName = "localhost";
        state->Settings.PortNumber = 80;
        Tracing window(*state, services, RefusingServer());
        window.show();
        QTRY_COMPARE(window.LampText(), QStringLiteral("Retrying"));
        QCOMPARE(window.Status2->text(),
                 QStringLiteral("Error 1 : Connection refused, retry 1: check Setup - Quote Server (localhost:80)"));
        QCOMPARE(LampColour(window), QColor(255, 160, 0));
        // A second later the request goes out again, and fails again.
        QTRY_COMPARE_WITH_TIMEOUT(window.Status2->text(),
                                  QStringLiteral("Error 1 : Connection refused, retry 2: check Setup - Quote Server (localhost:80)"),
                                  5000);
        // Pausing shows at once, and a failure while paused does not cover the paused lamp.
        window.CmdStop->click();
        QCOMPARE(window.LampText(), QStringLiteral("Paused"));
        QTRY_VERIFY_WITH_TIMEOUT(window.Status2->text().contains(QStringLiteral("retry 3")), 5000);
        QCOMPARE(window.LampText(), QStringLiteral("Paused"));
    }

    void theAlarmLampSaysHowToGoOnAndOnceThatNobodyHearsIt()
    {
        PrepareDirectory(true);
        services.audible = false;
        Tracing window(*state, services, RefusingServer());
        window.SetLamp(Lamp::Alarm);
        QCOMPARE(window.LampText(), QStringLiteral("Alarm"));
        QCOMPARE(window.Status2->text(), QStringLiteral("Click Alarm or Pause to go on. No sound player (paplay or aplay) is "
                                                        "installed: the alarm cannot be heard."));
        window.SetLamp(Lamp::Running);
        QCOMPARE(window.Status2->text(), QString()); // the hint goes with the alarm
        window.SetLamp(Lamp::Alarm);
        QCOMPARE(window.Status2->text(), QStringLiteral("Click Alarm or Pause to go on."));
        QVERIFY(LampColour(window) != QColor(0, 255, 0));
    }

    void theWindowOpensWithinTheScreenAndCanShrinkFarBelowItsPreferredSize()
    {
        PrepareDirectory(true);
        Tracing window(*state, services, RefusingServer());
        window.show();
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        const QSize smallest = window.minimumSizeHint();
        const QSize preferred = window.PreferredSize();
        QVERIFY(smallest.height() * 3 < preferred.height() * 2 && smallest.width() * 3 < preferred.width() * 2);
    }
};

QTEST_MAIN(RunWindowTest)
#include "RunWindowTest.moc"
