// What the run window tells a user who cannot see into the run: a server that does not answer,
// an alarm holding the run (and one nobody can hear), the account of a finished pass, and a
// window that fits the screen however large the report box would like to be.
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "DesktopFixture.h"
#include "core/run/ServerSource.h"
#include "core/text/TextFile.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/windows/Tracing.h"

namespace {

// A server nobody listens at: every request fails as soon as the event loop turns. It must
// outlive the run window, whose source it calls back.
class RefusingTransfer final : public HttpTransfer {
public:
    void Start(const HttpRequest&, HttpTransferListener& listener) override
    {
        pending_ = std::make_unique<QObject>();
        QTimer::singleShot(0, pending_.get(), [&listener] { listener.Failed(1, "Connection refused"); });
    }
    void Cancel() override { pending_.reset(); }

private:
    std::unique_ptr<QObject> pending_;
};

} // namespace

class RunFeedbackTest : public QObject, private DesktopFixture {
    Q_OBJECT
public:
    RunFeedbackTest() : DesktopFixture(LocalDateTime{2026, 12, 4, 15, 30, 0}) {}

private:
    static ServerSourceFactory RefusingServer(RefusingTransfer& transfer)
    {
        return [&transfer](SharedState& s, RunHost& host, std::function<void()> pause) {
            return std::unique_ptr<QuoteSource>(std::make_unique<ServerSource>(s, host, transfer, std::move(pause)));
        };
    }
    void PrepareDirectory(bool localFile)
    {
        NewProgramDirectoryWithDefaults();
        state->Settings.GetQuoteFromLocalFile = localFile;
        QVERIFY(ReplaceFile(state->Settings.FnSym, "IBM\r\nMSFT\r\nINTC\r\n"));
        QVERIFY(ReplaceFile(state->Paths.FnQuote, "")); // a cache without a single record
    }
    QColor LampColour(const Tracing& window) const { return window.Picture1->palette().color(QPalette::Window); }

private slots:
    void init()
    {
        services = FakeDesktopServices();
        MessageBoxes::BeginScript();
    }
    void cleanup() { MessageBoxes::EndScript(); }

    void anUnreachableServerShowsRetryingWithTheCountAndWhatToCheck()
    {
        PrepareDirectory(false);
        state->Settings.DnsName = "localhost";
        state->Settings.PortNumber = 80;
        RefusingTransfer transfer;
        Tracing window(*state, services, RefusingServer(transfer));
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
        RefusingTransfer transfer;
        Tracing window(*state, services, RefusingServer(transfer));
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

    void aFinishedPassIsAccountedForInOneLine()
    {
        PrepareDirectory(true);
        RefusingTransfer transfer;
        Tracing window(*state, services, RefusingServer(transfer));
        window.show();
        QTRY_COMPARE(window.Status1->text(), QStringLiteral("Done"));
        QCOMPARE(window.Status2->text(), QStringLiteral("Pass done: 3 symbols evaluated, 0 with quotes, 3 without, 0 saved. "
                                                        "3 of 3 symbols are not in Quote.txt."));
    }

    void theWindowOpensWithinTheScreenAndCanShrinkFarBelowItsPreferredSize()
    {
        PrepareDirectory(true);
        RefusingTransfer transfer;
        Tracing window(*state, services, RefusingServer(transfer));
        window.show();
        const QRect free = window.screen()->availableGeometry();
        QVERIFY2(free.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1x%2 at %3,%4 on %5x%6")
                                                                    .arg(window.frameGeometry().width())
                                                                    .arg(window.frameGeometry().height())
                                                                    .arg(window.x())
                                                                    .arg(window.y())
                                                                    .arg(free.width())
                                                                    .arg(free.height())));
        const QSize smallest = window.minimumSizeHint();
        const QSize preferred = window.PreferredSize();
        QVERIFY2(smallest.height() * 3 < preferred.height() * 2 && smallest.width() * 3 < preferred.width() * 2,
                 qPrintable(QStringLiteral("smallest %1x%2, preferred %3x%4")
                                .arg(smallest.width()).arg(smallest.height()).arg(preferred.width()).arg(preferred.height())));
    }
};

QTEST_MAIN(RunFeedbackTest)
#include "RunFeedbackTest.moc"
