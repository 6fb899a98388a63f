// Every window at twice the normal scale: no label, button or box is shown smaller than its text
// needs, and each window fits on a 1920 x 1080 screen at that scale.
#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include "FakeDesktopServices.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "desktop/dialogs/Agree.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/dialogs/Interest.h"
#include "desktop/dialogs/QuoteServer.h"
#include "desktop/windows/Splash.h"
#include "desktop/services/LayoutCheck.h"
#include "desktop/services/MessageBoxes.h"
#include "core/run/ReplaySource.h"
#include "desktop/windows/Tracing.h"

class LayoutTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    FakeDesktopServices services;

    void Check(QWidget& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList clipped = FindClippedControls(&window);
        QVERIFY2(clipped.isEmpty(), qPrintable(window.objectName() + ": " + clipped.join("; ")));
        // Logical pixels at scale 2 are device pixels / 2: a 1920 x 1080 screen offers 960 x 540.
        QVERIFY2(window.frameGeometry().width() <= 960 && window.sizeHint().height() <= 540,
                 qPrintable(QStringLiteral("%1 is %2x%3").arg(window.objectName()).arg(window.width()).arg(window.height())));
        window.hide();
    }

private slots:
    void initTestCase()
    {
        PrepareSharedState(state, dir.path().toStdString());
        SetDefaults(state.Settings);
        MessageBoxes::BeginScript();
        QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
    }

    void settingsDialogs()
    {
        QuoteServer quoteServer(state, services);
        Check(quoteServer);
        Filter filter(state, services);
        Check(filter);
        Interest interest(state, services);
        Check(interest);
    }

    void agreement()
    {
        bool accepted = false;
        Agree agree(accepted, services);
        Check(agree);
    }

    void mainAndRunWindows()
    {
        Splash splash(state, services);
        Check(splash);
        state.Paths.FnResults = dir.filePath("missing/Results.txt").toStdString(); // the run stays idle
        Tracing tracing(state, services, [](SharedState& s, RunHost& host, std::function<void()>) {
            return std::unique_ptr<QuoteSource>(std::make_unique<ReplaySource>(s, host));
        });
        Check(tracing);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    LayoutTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "LayoutTest.moc"
