// The keyboard and frames of every window: F1 for help, no access key taken twice in one window
// (menu titles included), a maximise box only on a window of no one natural size; the access keys,
// tab order and arrow keys of the dialogs (Esc closing a settings dialog is a row of
// window-steps.tsv); Esc disagreeing at the agreement; the help window's Back, Esc and Ctrl+W;
// Ctrl+Q ending the program from the main window and from the run window, after which nothing
// comes back.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QtTest>

#include "DesktopFixture.h"
#include "core/run/ReplaySource.h"
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

// Every caption's access key in `window`: menu titles, labels, buttons and frames.
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
        if (const QString key = AccessKeyOf(caption); !key.isEmpty()) keys << key;
    return keys;
}

bool OffersMaximise(const QWidget& window)
{
    const Qt::WindowFlags flags = window.windowFlags();
    return !flags.testFlag(Qt::CustomizeWindowHint) || flags.testFlag(Qt::WindowMaximizeButtonHint);
}

} // namespace

class KeysTest : public QObject, private DesktopFixture {
    Q_OBJECT
public:
    KeysTest() : DesktopFixture(LocalDateTime{2026, 12, 4, 15, 30, 0}) {}

private:
    bool agreementAccepted = false;

    std::unique_ptr<QWidget> Make(const QString& window)
    {
        if (window == "QuoteServer") return std::make_unique<QuoteServer>(*state, services);
        if (window == "Filter") return std::make_unique<Filter>(*state, services);
        if (window == "Interest") return std::make_unique<Interest>(*state, services);
        if (window == "Agree") return std::make_unique<Agree>(agreementAccepted, services);
        if (window == "Splash") return std::make_unique<Splash>(*state, services);
        if (window == "PassTableWindow") return std::make_unique<PassTableWindow>(*state, services);
        if (window == "Tracing") {
            // The run window stays idle: its results file cannot be opened.
            state->Paths.FnResults = dir->filePath(QStringLiteral("missing/Results.txt")).toStdString();
            return std::make_unique<Tracing>(*state, services, ReplayOnly());
        }
        return std::unique_ptr<QWidget>(ShowHelpTopic(nullptr, HelpContentsTopic));
    }
    // The rows of `check` in keys.tsv as test data: window, argument, expected.
    static void KeyRows(const QString& check)
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");
        for (const QStringList& row : TableRows(QStringLiteral("keys.tsv"), 4))
            if (row[0] == check) QTest::newRow(qPrintable(row[1] + QLatin1Char(' ') + row[2])) << row[1] << row[2] << row[3];
    }

private slots:
    void init()
    {
        NewProgramDirectoryWithDefaults();
        state->Settings.GetQuoteFromLocalFile = true;
        QVERIFY(ReplaceFile(state->Settings.FnSym, "IBM\r\n"));
        services = FakeDesktopServices();
        agreementAccepted = false;
        MessageBoxes::BeginScript();
    }
    void cleanup() { MessageBoxes::EndScript(); }

    void everyWindowAnswersF1HasDistinctAccessKeysAndMaximisesOnlyIfResizable_data() { KeyRows(QStringLiteral("frame")); }
    void everyWindowAnswersF1HasDistinctAccessKeysAndMaximisesOnlyIfResizable()
    {
        QFETCH(QString, window);
        QFETCH(QString, expected);
        const std::unique_ptr<QWidget> shown = Make(window);
        const QStringList keys = AccessKeys(*shown);
        QVERIFY2(QSet<QString>(keys.begin(), keys.end()).size() == keys.size(), qPrintable(keys.join(' ')));
        QCOMPARE(OffersMaximise(*shown), expected == QLatin1String("resizable"));
        if (window == "HelpWindow") return; // help is what it shows
        QVERIFY(Activate(*shown));
        QTest::keyClick(shown.get(), Qt::Key_F1);
        QCOMPARE(services.helpTopics, QList<int>{HelpContentsTopic});
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

    void everyLabelledBoxHasItsOwnAccessKey_data() { KeyRows(QStringLiteral("unlabelled")); }
    void everyLabelledBoxHasItsOwnAccessKey()
    {
        QFETCH(QString, window);
        QFETCH(QString, expected);
        const std::unique_ptr<QWidget> dialog = Make(window);
        QStringList boxesWithoutKey;
        for (const QLineEdit* box : dialog->findChildren<QLineEdit*>()) {
            int labels = 0;
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                labels += label->buddy() == box && !AccessKeyOf(label->text()).isEmpty();
            QVERIFY2(labels <= 1, qPrintable(box->objectName()));
            if (labels == 0) boxesWithoutKey << box->objectName();
        }
        QCOMPARE(boxesWithoutKey.join(QLatin1Char(' ')), expected);
    }

    void accessKeysMoveTheFocus_data() { KeyRows(QStringLiteral("access")); }
    void accessKeysMoveTheFocus()
    {
        QFETCH(QString, window);
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        const std::unique_ptr<QWidget> dialog = Make(window);
        QVERIFY(Activate(*dialog));
        // Start elsewhere, so that the key must move the focus.
        const auto boxes = dialog->findChildren<QLineEdit*>();
        boxes.last()->objectName() == expected ? boxes.first()->setFocus() : boxes.last()->setFocus();
        QTest::keyClick(dialog.get(), Qt::Key(argument.at(0).unicode()), Qt::AltModifier);
        QCOMPARE(FocusName(*dialog), expected);
    }

    void tabGoesTopToBottomAndLeftToRight_data() { KeyRows(QStringLiteral("tab")); }
    void tabGoesTopToBottomAndLeftToRight()
    {
        QFETCH(QString, window);
        QFETCH(QString, expected);
        const QStringList order = expected.split(QLatin1Char(' '));
        const std::unique_ptr<QWidget> dialog = Make(window);
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

    void ctrlQEndsTheProgramFromTheMainAndTheRunWindowAndTheMainWindowReturnsWhereItStood()
    {
        Splash splash(*state, services);
        QVERIFY(Activate(splash));
        QTest::keyClick(&splash, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!splash.isVisible());
        QVERIFY(MessageBoxes::TakeShown().isEmpty());

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

QTEST_MAIN(KeysTest)
#include "KeysTest.moc"
