// The three settings dialogs: what they show on opening, what Use Default does, and what closing
// takes over and writes to the settings file.
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

#include "DesktopFixture.h"
#include "core/numbers/NumberText.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/dialogs/Interest.h"
#include "desktop/dialogs/QuoteServer.h"
#include "desktop/services/MessageBoxes.h"

namespace {

template <typename Dialog>
void OpenAndClose(Dialog& dialog)
{
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.close();
}

QLineEdit* Box(QWidget& dialog, const char* name)
{
    auto* box = dialog.findChild<QLineEdit*>(QLatin1String(name));
    if (!box) qFatal("no box %s", name);
    return box;
}

} // namespace

class SettingsDialogsTest : public QObject, private DesktopFixture {
    Q_OBJECT
private slots:
    void init()
    {
        NewProgramDirectoryWithDefaults();
        MessageBoxes::BeginScript();
    }
    void cleanup()
    {
        MessageBoxes::EndScript();
        state.reset();
    }

    void filterTurnsDefaultTextsIntoUnquotedNumbers()
    {
        Filter dialog(*state, services);
        QCOMPARE(Box(dialog, "TX_MinOptInt")->text(), QStringLiteral("100"));
        QCOMPARE(Box(dialog, "TX_MinTimeVal")->text(), QStringLiteral("0.375"));
        QCOMPARE(Box(dialog, "TX_MinPE")->text(), QStringLiteral("NA"));
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("OP_DrvQVAfrom_3"))->isChecked());
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("OP_AvgQVAusing_1"))->isChecked());
        OpenAndClose(dialog);
        const int tenDigits = dialog.fontMetrics().horizontalAdvance(QStringLiteral("0000000000"));
        for (const QLineEdit* box : dialog.findChildren<QLineEdit*>())
            QVERIFY2(box->width() > tenDigits, qPrintable(box->objectName() + " cannot show ten digits"));

        QCOMPARE(state->Settings.MinOptInt, Criterion::Number(100));
        QCOMPARE(state->Settings.MinTimeVal, Criterion::Number(0.375));
        QCOMPARE(state->Settings.MinPE, Criterion::Text("NA"));
        for (const auto& [line, text] : {std::pair{25, "100"}, {27, "0.375"}, {31, "25"}, {32, "25"}, {8, "\"NA\""}})
            QCOMPARE(SettingsLine(line), QLatin1String(text));
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }

    void filterSwitchesOffClearedAndNonNumericBoxes()
    {
        Filter dialog(*state, services);
        Box(dialog, "TX_MinOptInt")->clear();
        Box(dialog, "TX_MaxPE")->setText(QStringLiteral(" 12.5 "));
        Box(dialog, "TX_MinYield")->setText(QStringLiteral("5%"));
        dialog.findChild<QRadioButton*>(QStringLiteral("OP_AvgQVAusing_0"))->setChecked(true);
        OpenAndClose(dialog);
        QCOMPARE(state->Settings.MinOptInt, Criterion::Text("NA"));
        QCOMPARE(state->Settings.MaxPE, Criterion::Number(12.5));
        QCOMPARE(state->Settings.MinYield, Criterion::Text("NA"));
        QCOMPARE(state->Settings.AvgQVAusing, std::int16_t(0));
        QCOMPARE(SettingsLine(9), QStringLiteral("12.5"));
    }

    void filterUseDefaultRestoresBoxesAndButtons()
    {
        state->Settings.MinPE = Criterion::Number(3);
        state->Settings.DrvQVAfrom = 0;
        Filter dialog(*state, services);
        QCOMPARE(Box(dialog, "TX_MinPE")->text(), QStringLiteral("3"));
        Box(dialog, "TX_MinQVAC")->setText(QStringLiteral("40"));
        dialog.CM_FilterUseDefault->click();
        QCOMPARE(Box(dialog, "TX_MinPE")->text(), QStringLiteral("NA"));
        QCOMPARE(Box(dialog, "TX_MinQVAC")->text(), QStringLiteral("NA"));
        QCOMPARE(dialog.OP_DrvQVAfrom->checkedId(), 3);
        QCOMPARE(dialog.OP_AvgQVAusing->checkedId(), 1);
        QVERIFY(!FileExists(state->Paths.FnSettings)); // Use Default saves nothing by itself
        OpenAndClose(dialog);
        QCOMPARE(state->Settings.MinPE, Criterion::Text("NA"));
        QCOMPARE(SettingsLine(34), QStringLiteral("3"));
    }

    void filterWrapsAnOutOfRangeOptionIndex()
    {
        state->Settings.DrvQVAfrom = 7;
        state->Settings.AvgQVAusing = -1;
        Filter dialog(*state, services);
        QCOMPARE(dialog.OP_DrvQVAfrom->checkedId(), 3);
        QCOMPARE(dialog.OP_AvgQVAusing->checkedId(), 1);
        OpenAndClose(dialog);
        QCOMPARE(state->Settings.DrvQVAfrom, std::int16_t(3));
        QCOMPARE(SettingsLine(34), QStringLiteral("3"));
    }

    void interestShowsPercentAndStoresAFraction_data()
    {
        QTest::addColumn<float>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("expected");
        QTest::newRow("default unchanged") << 0.05f << "5" << "5" << 0.05f;
        QTest::newRow("seven and a half") << 0.05f << "5" << "7.5" << 0.075f;
        QTest::newRow("not a number") << 0.0575f << "5.75" << "abc" << 0.05f;
        QTest::newRow("cleared") << 0.075f << "7.5" << "" << 0.05f;
        QTest::newRow("negative kept") << 0.05f << "5" << "-1" << -0.01f;
        // A single cannot hold it: it would be written to the settings file as infinity.
        QTest::newRow("beyond a single") << 0.05f << "5" << "1e41" << 0.05f;
    }
    void interestShowsPercentAndStoresAFraction()
    {
        QFETCH(float, stored);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(float, expected);
        state->Settings.InterestRate = stored;
        Interest dialog(*state, services);
        QCOMPARE(dialog.TX_Interest->text(), shown);
        dialog.TX_Interest->setText(typed);
        OpenAndClose(dialog);
        QCOMPARE(state->Settings.InterestRate, expected);
        QCOMPARE(SettingsLine(7), QString::fromStdString(FormatSingle(expected)));
    }

    void quoteServerUseDefaultKeepsTheTypedLogin()
    {
        state->Settings.DnsName = "quotes.example";
        state->Settings.PortNumber = 8080;
        state->Settings.SwitchText = "x";
        QuoteServer dialog(*state, services);
        for (QLineEdit* box : {dialog.TX_UserName, dialog.TX_Password}) {
            QCOMPARE(box->echoMode(), QLineEdit::Password);
            QCOMPARE(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box), int('*'));
        }
        QCOMPARE(dialog.TX_PN->text(), QStringLiteral("8080"));
        dialog.TX_UserName->setText(QStringLiteral("ada"));
        dialog.TX_Password->setText(QStringLiteral("pa:ss"));
        dialog.CM_QuoteServerUseDefault->click();
        QCOMPARE(dialog.TX_UserName->text(), QStringLiteral("ada"));
        QCOMPARE(dialog.TX_Password->text(), QStringLiteral("pa:ss"));
        QCOMPARE(dialog.TX_DNSN->text(), QStringLiteral("localhost"));
        QCOMPARE(dialog.TX_PN->text(), QStringLiteral("80"));
        QCOMPARE(dialog.TX_GQS->text(), QStringLiteral("/cgi-bin/getquote.dll?TICKER="));
        QCOMPARE(dialog.TX_GOQS->text(), QStringLiteral("/cgi-bin/options.dll?TICKER="));
        QCOMPARE(dialog.TX_Switch->text(), QString());
        OpenAndClose(dialog);

        QCOMPARE(state->Settings.UserName, std::string("ada"));
        QCOMPARE(state->Settings.Password, std::string("pa:ss"));
        QCOMPARE(state->Settings.PortNumber, 80);
        QCOMPARE(state->Settings.Credentials, CredentialsOf("ada", "pa:ss"));
    }

    void quoteServerKeepsTheOldPortForABadText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("complaint");
        QTest::newRow("highest port") << "65535" << 65535 << false;
        QTest::newRow("letters") << "http" << 8080 << true;
        QTest::newRow("zero") << "0" << 8080 << true;
        QTest::newRow("too large") << "65536" << 8080 << true;
        QTest::newRow("fraction") << "80.5" << 8080 << true;
        QTest::newRow("empty") << "" << 8080 << true;
    }
    void quoteServerKeepsTheOldPortForABadText()
    {
        QFETCH(QString, typed);
        QFETCH(int, expected);
        QFETCH(bool, complaint);
        state->Settings.PortNumber = 8080;
        state->Settings.SwitchText = "keep me";
        QuoteServer dialog(*state, services);
        dialog.TX_PN->setText(typed);
        OpenAndClose(dialog);
        QCOMPARE(state->Settings.PortNumber, expected);
        QCOMPARE(SettingsLine(3), QString::number(expected));
        QCOMPARE(SettingsLine(6), QStringLiteral("\"keep me\""));
        const QStringList shown = MessageBoxes::TakeShown();
        QCOMPARE(shown.size(), complaint ? 1 : 0);
        QVERIFY(!complaint || (shown[0].startsWith(QStringLiteral("Quillon|")) && shown[0].contains(QStringLiteral("stays 8080"))));
    }

    void aFailedWriteIsReportedAndTheValuesStay()
    {
        state->Paths.FnSettings = dir->filePath(QStringLiteral("missing/Quillon.---")).toStdString();
        Interest dialog(*state, services);
        dialog.TX_Interest->setText(QStringLiteral("6"));
        OpenAndClose(dialog);
        QCOMPARE(state->Settings.InterestRate, 0.06f);
        QCOMPARE(MessageBoxes::TakeShown(),
                 QStringList{QStringLiteral("Quillon|Cannot create ") + QString::fromStdString(state->Paths.FnSettings)});
    }
};

QTEST_MAIN(SettingsDialogsTest)
#include "SettingsDialogsTest.moc"
