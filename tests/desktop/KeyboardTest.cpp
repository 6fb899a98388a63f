// The keyboard in every window: F1 for help, Esc closing (and so saving) a dialog, an Alt access
// key for every labelled box, the tab order of the dialogs, and Ctrl+Q in the main window.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "DesktopFixture.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "desktop/dialogs/Agree.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/dialogs/Interest.h"
#include "desktop/dialogs/QuoteServer.h"
#include "desktop/windows/Splash.h"
#include "desktop/services/MessageBoxes.h"
#include "core/run/ReplaySource.h"
#include "desktop/windows/Tracing.h"

namespace {

using WindowFactory = std::function<std::unique_ptr<QWidget>(SharedState&, DesktopServices&)>;

// Shows `window` and makes it the active window, as a click on it would.
bool Activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QString FocusName(const QWidget& window)
{
    const QWidget* focus = window.focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

// The access key of a caption ("Min &Open Interest" -> "O"), empty without one.
QString AccessKeyOf(const QString& caption)
{
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? QString() : key.toString();
}

// Every caption's access key in `window`: labels, buttons and frames.
QStringList AccessKeys(const QWidget& window)
{
    QStringList keys;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        QString caption;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) caption = label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) caption = button->text();
        if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) caption = frame->title();
        if (const QString key = AccessKeyOf(caption); !key.isEmpty()) keys << key;
    }
    return keys;
}

} // namespace

class KeyboardTest : public QObject, private DesktopFixture {
    Q_OBJECT
public:
    KeyboardTest() : DesktopFixture(LocalDateTime{2026, 12, 4, 15, 30, 0}) {}

private:
    bool agreementAccepted = false;

    QMap<QString, WindowFactory> Windows()
    {
        return {
            {"QuoteServer", [](SharedState& s, DesktopServices& d) { return std::make_unique<QuoteServer>(s, d); }},
            {"Filter", [](SharedState& s, DesktopServices& d) { return std::make_unique<Filter>(s, d); }},
            {"Interest", [](SharedState& s, DesktopServices& d) { return std::make_unique<Interest>(s, d); }},
            {"Agree", [this](SharedState&, DesktopServices& d) { return std::make_unique<Agree>(agreementAccepted, d); }},
            {"Tracing", [](SharedState& s, DesktopServices& d) {
                 return std::make_unique<Tracing>(s, d, [](SharedState& source, RunHost& host, std::function<void()>) {
                     return std::unique_ptr<QuoteSource>(std::make_unique<ReplaySource>(source, host));
                 });
             }},
            {"Splash", [](SharedState& s, DesktopServices& d) { return std::make_unique<Splash>(s, d); }},
        };
    }

    QString SettingsText() const { return QString::fromStdString(ReadWholeFile(state->Paths.FnSettings).value_or("<none>")); }

private slots:
    void init()
    {
        NewProgramDirectoryWithDefaults();
        // The run window stays idle: its results file cannot be opened.
        state->Paths.FnResults = dir->filePath(QStringLiteral("missing/Results.txt")).toStdString();
        services = FakeDesktopServices();
        agreementAccepted = false;
        MessageBoxes::BeginScript();
    }
    void cleanup() { MessageBoxes::EndScript(); }

    void f1ShowsTheHelpContents_data()
    {
        QTest::addColumn<QString>("window");
        for (const QString& name : Windows().keys()) QTest::newRow(qPrintable(name)) << name;
    }
    void f1ShowsTheHelpContents()
    {
        QFETCH(QString, window);
        const std::unique_ptr<QWidget> shown = Windows()[window](*state, services);
        QVERIFY(Activate(*shown));
        QTest::keyClick(shown.get(), Qt::Key_F1);
        QCOMPARE(services.helpTopics, QList<int>{HelpContentsTopic});
    }

    void escClosesASettingsDialogAndSavesIt()
    {
        Interest interest(*state, services);
        QVERIFY(Activate(interest));
        interest.TX_Interest->setText(QStringLiteral("7.5"));
        QTest::keyClick(interest.TX_Interest, Qt::Key_Escape);
        QVERIFY(!interest.isVisible());
        QCOMPARE(state->Settings.InterestRate, 0.075f);
        QCOMPARE(SplitLines(SettingsText().toStdString())[6], std::string_view("0.075"));

        Filter filter(*state, services);
        QVERIFY(Activate(filter));
        filter.findChild<QLineEdit*>(QStringLiteral("TX_MaxPE"))->setText(QStringLiteral("40"));
        QTest::keyClick(&filter, Qt::Key_Escape);
        QVERIFY(!filter.isVisible());
        QCOMPARE(state->Settings.MaxPE, Criterion::Number(40));

        QuoteServer quoteServer(*state, services);
        QVERIFY(Activate(quoteServer));
        quoteServer.TX_DNSN->setText(QStringLiteral("quotes.example"));
        QTest::keyClick(&quoteServer, Qt::Key_Escape);
        QVERIFY(!quoteServer.isVisible());
        QVERIFY2(SettingsText().contains(QStringLiteral("\"quotes.example\"")), qPrintable(SettingsText()));
    }

    // The gate's logic is StartupTest's; here only which keys and buttons answer it.
    void escAtTheAgreementGateDisagreesAndOnlyAgreeAccepts()
    {
        Agree agree(agreementAccepted, services);
        QVERIFY(Activate(agree));
        QVERIFY(agree.focusWidget() == agree.Command2); // Enter disagrees
        QTest::keyClick(&agree, Qt::Key_Escape);
        QVERIFY(!agree.isVisible());
        QVERIFY(!agreementAccepted);
        Agree again(agreementAccepted, services);
        QVERIFY(Activate(again));
        again.Command1->click();
        QVERIFY(agreementAccepted);
    }

    void everyLabelledBoxHasItsOwnAccessKey_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("withoutKey");
        QTest::newRow("QuoteServer") << "QuoteServer" << QStringList{};
        QTest::newRow("Interest") << "Interest" << QStringList{};
        // A stock row's label leads to its Min box; Tab goes on to the Max box beside it.
        QTest::newRow("Filter") << "Filter"
                                << QStringList{"TX_MaxPE", "TX_MaxMktCap", "TX_MaxVolume", "TX_MaxLast", "TX_MaxBeta",
                                               "TX_MaxPctChange", "TX_MaxYield", "TX_MaxRange"};
    }
    void everyLabelledBoxHasItsOwnAccessKey()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, withoutKey);
        const std::unique_ptr<QWidget> dialog = Windows()[window](*state, services);
        QStringList boxesWithoutKey;
        for (const QLineEdit* box : dialog->findChildren<QLineEdit*>()) {
            int labels = 0;
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                if (label->buddy() == box && !AccessKeyOf(label->text()).isEmpty()) ++labels;
            }
            QVERIFY2(labels <= 1, qPrintable(box->objectName()));
            if (labels == 0) boxesWithoutKey << box->objectName();
        }
        QCOMPARE(boxesWithoutKey, withoutKey);
        const QStringList keys = AccessKeys(*dialog);
        QVERIFY2(QSet<QString>(keys.begin(), keys.end()).size() == keys.size(), qPrintable(keys.join(' ')));
    }

    void accessKeysMoveTheFocus_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Get Options Quote String") << "QuoteServer" << int(Qt::Key_T) << "TX_GOQS";
        QTest::newRow("Switch") << "QuoteServer" << int(Qt::Key_S) << "TX_Switch";
        QTest::newRow("Price/Earning Ratio") << "Filter" << int(Qt::Key_E) << "TX_MinPE";
        QTest::newRow("Min QVAP - QVAC") << "Filter" << int(Qt::Key_A) << "TX_MinQVAP_QVAC";
        QTest::newRow("Derive QVA from") << "Filter" << int(Qt::Key_R) << "OP_DrvQVAfrom_3";
        QTest::newRow("Average QVA using") << "Filter" << int(Qt::Key_G) << "OP_AvgQVAusing_1";
        QTest::newRow("Interest rate") << "Interest" << int(Qt::Key_I) << "TX_Interest";
    }
    void accessKeysMoveTheFocus()
    {
        QFETCH(QString, window);
        QFETCH(int, key);
        QFETCH(QString, focus);
        const std::unique_ptr<QWidget> dialog = Windows()[window](*state, services);
        QVERIFY(Activate(*dialog));
        // Start elsewhere, so that the key must move the focus.
        const auto boxes = dialog->findChildren<QLineEdit*>();
        boxes.last()->objectName() == focus ? boxes.first()->setFocus() : boxes.last()->setFocus();
        QTest::keyClick(dialog.get(), Qt::Key(key), Qt::AltModifier);
        QCOMPARE(FocusName(*dialog), focus);
    }

    void tabGoesTopToBottomAndLeftToRight_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("QuoteServer") << "QuoteServer"
                                     << QStringList{"TX_UserName", "TX_Password", "TX_DNSN", "TX_PN", "TX_GQS", "TX_GOQS",
                                                    "CM_QuoteServerUseDefault", "TX_Switch"};
        // The stock's rows with Min before Max, then the option column, then what stands below.
        QTest::newRow("Filter") << "Filter"
                                << QStringList{"TX_MinPE", "TX_MaxPE", "TX_MinMktCap", "TX_MaxMktCap", "TX_MinVolume",
                                               "TX_MaxVolume", "TX_MinLast", "TX_MaxLast", "TX_MinBeta", "TX_MaxBeta",
                                               "TX_MinPctChange", "TX_MaxPctChange", "TX_MinYield", "TX_MaxYield",
                                               "TX_MinRange", "TX_MaxRange", "TX_MinOptVol", "TX_MinOptInt",
                                               "TX_MinOptPctVol", "TX_MinTimeVal", "TX_MaxIntVal", "TX_MinQVAC",
                                               "TX_MinQVAP", "TX_MinQVAC_QVAP", "TX_MinQVAP_QVAC",
                                               "CM_FilterUseDefault", "OP_DrvQVAfrom_3", "OP_AvgQVAusing_1"};
        QTest::newRow("Agree") << "Agree" << QStringList{"Text1", "Command1", "Command2"};
    }
    void tabGoesTopToBottomAndLeftToRight()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        const std::unique_ptr<QWidget> dialog = Windows()[window](*state, services);
        QVERIFY(Activate(*dialog));
        dialog->findChild<QWidget*>(order.first())->setFocus();
        QStringList visited{FocusName(*dialog)};
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
            visited << FocusName(*dialog);
        }
        QCOMPARE(visited, order);
    }

    void arrowKeysChooseWithinAnOptionGroupAndTabFollows()
    {
        Filter filter(*state, services);
        QVERIFY(Activate(filter));
        auto* bidAsk = filter.findChild<QRadioButton*>(QStringLiteral("OP_DrvQVAfrom_3"));
        bidAsk->setFocus();
        QTest::keyClick(bidAsk, Qt::Key_Left);
        QCOMPARE(filter.OP_DrvQVAfrom->checkedId(), 2);
        QCOMPARE(FocusName(filter), QStringLiteral("OP_DrvQVAfrom_2"));
        filter.CM_FilterUseDefault->setFocus();
        QTest::keyClick(filter.CM_FilterUseDefault, Qt::Key_Tab);
        QCOMPARE(FocusName(filter), QStringLiteral("OP_DrvQVAfrom_2"));
    }

    void ctrlQClosesTheMainWindow()
    {
        Splash splash(*state, services);
        QVERIFY(Activate(splash));
        QTest::keyClick(&splash, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!splash.isVisible());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
