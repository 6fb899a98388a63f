// The main window's ticker and its Start button; its menus are rows of window-steps.tsv.
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "DesktopFixture.h"
#include "desktop/windows/Splash.h"
#include "desktop/services/MessageBoxes.h"

class SplashTest : public QObject, private DesktopFixture {
    Q_OBJECT
private:
    std::unique_ptr<Splash> splash;

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

    void showsTheTickerAndAsksForTheRun()
    {
        splash = std::make_unique<Splash>(*state, services);
        QCOMPARE(splash->Text1->text(), QString::fromLatin1(SampleTickerText) + QString::fromLatin1(SampleTickerText));
        QVERIFY(splash->Timer1->isActive());
        QCOMPARE(splash->Timer1->interval(), 220);
        QSignalSpy start(splash.get(), &Splash::StartRequested);
        splash->Command1->click();
        QCOMPARE(start.count(), 1);
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
};

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
