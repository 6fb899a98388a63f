// The start-up gate with the real agreement window: its three outcomes and the files each leaves.
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "DesktopFixture.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "desktop/dialogs/Agree.h"
#include "desktop/dialogs/DesktopStartupHost.h"
#include "desktop/services/MessageBoxes.h"

namespace {

// Runs `act` on the agreement window as soon as it is open modally.
void WhenAgreementOpens(std::function<void(Agree&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* agree = qobject_cast<Agree*>(QApplication::activeModalWidget());
        if (!agree) return;
        poll->stop();
        poll->deleteLater();
        act(*agree);
    });
    poll->start();
}

QStringList FilesIn(const QString& path)
{
    return QDir(path).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class AgreementGateTest : public QObject, private DesktopFixture {
    Q_OBJECT
private:
    DesktopStartupHost host{services};

    StartupOutcome RunMain() { return Main(*state, host, dir->path().toStdString()); }

private slots:
    void init()
    {
        NewProgramDirectory();
        MessageBoxes::BeginScript();
    }
    void cleanup() { MessageBoxes::EndScript(); }

    void agreeStartsAfreshWithDefaults()
    {
        QString caption;
        bool disagreeHadFocus = false;
        WhenAgreementOpens([&](Agree& agree) {
            caption = agree.windowTitle();
            disagreeHadFocus = agree.Command2->hasFocus() || agree.focusWidget() == agree.Command2;
            QVERIFY(!agree.Text1->toPlainText().isEmpty());
            agree.Command1->click();
        });
        QCOMPARE(RunMain(), StartupOutcome::ShowMainWindow);
        QCOMPARE(caption, QStringLiteral("End User Agreement of Quillon"));
        QVERIFY(disagreeHadFocus);
        QCOMPARE(FilesIn(dir->path()), (QStringList{"Accepted.---", "BadSym.txt", "GoodSym.txt", "Quillon.---", "Results.txt"}));
        QCOMPARE(ReadWholeFile(state->Paths.FnResults).value_or("x"), std::string());
        QCOMPARE(state->Settings.MinOptInt, Criterion::Text("100"));
        QVERIFY(MessageBoxes::TakeShown().isEmpty());

        // The next start passes the gate without asking and keeps what is there.
        QVERIFY(ReplaceFile(state->Paths.FnResults, "kept\r\n"));
        state = std::make_unique<SharedState>(clock);
        QCOMPARE(RunMain(), StartupOutcome::ShowMainWindow);
        QCOMPARE(ReadWholeFile(state->Paths.FnResults).value_or(""), std::string("kept\r\n"));
    }

    void disagreeOrTheCloseBoxEndsWithTheMessageAndNoFiles_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("DISAGREE") << "button";
        QTest::newRow("Enter on the focused DISAGREE") << "enter";
        QTest::newRow("close box") << "close";
    }
    void disagreeOrTheCloseBoxEndsWithTheMessageAndNoFiles()
    {
        QFETCH(QString, how);
        WhenAgreementOpens([how](Agree& agree) {
            if (how == "button") agree.Command2->click();
            if (how == "enter") QTest::keyClick(agree.focusWidget(), Qt::Key_Return);
            if (how == "close") agree.close();
        });
        QCOMPARE(RunMain(), StartupOutcome::Disagreed);
        QCOMPARE(MessageBoxes::TakeShown(), QStringList{QStringLiteral("Quillon|") + QString::fromStdString(DisagreeText())});
        QVERIFY(FilesIn(dir->path()).isEmpty());
    }

    void anUncreatableRecordStopsTheProgram()
    {
        // A directory in the record's place: the record cannot be written.
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("Accepted.---")));
        WhenAgreementOpens([](Agree& agree) { agree.Command1->click(); });
        QCOMPARE(RunMain(), StartupOutcome::RecordNotCreated);
        const QString record = dir->filePath(QStringLiteral("Accepted.---"));
        QCOMPARE(MessageBoxes::TakeShown(),
                 QStringList{QStringLiteral("Quillon|Cannot create ") + record + QStringLiteral(", program stopped.")});
        QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("Results.txt"))));
    }

    void reviewModeOnlyShowsTheText()
    {
        bool accepted = true;
        Agree agree(accepted, services);
        QCOMPARE(agree.windowTitle(), QStringLiteral("End User Agreement of Quillon - Review"));
        QVERIFY(!agree.Command1->isEnabled());
        QVERIFY(!agree.Command2->isEnabled());
        QVERIFY(agree.Text1->isReadOnly());
    }
};

QTEST_MAIN(AgreementGateTest)
#include "AgreementGateTest.moc"
