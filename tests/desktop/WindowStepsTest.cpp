// The main window's menus and the three settings dialogs as rows of window-steps.tsv beside this
// file: what a window shows, what its boxes, buttons and menu items do, and what it leaves in
// memory, in the settings file and on the desktop; and the main window's ticker.
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QStyle>
#include <QtTest>

#include "DesktopFixture.h"
#include "core/settings/SettingsFile.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/dialogs/Interest.h"
#include "desktop/dialogs/QuoteServer.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/windows/Splash.h"

class WindowStepsTest : public QObject, private DesktopFixture {
    Q_OBJECT

    std::unique_ptr<QWidget> Make(const QString& name)
    {
        if (name == "Filter") return std::make_unique<Filter>(*state, services);
        if (name == "Interest") return std::make_unique<Interest>(*state, services);
        if (name == "Splash") return std::make_unique<Splash>(*state, services);
        return std::make_unique<QuoteServer>(*state, services);
    }

    // `text` as a row writes it: the program directory as $DIR, line ends as \r\n.
    QString Written(QString text) const
    {
        return text.replace(dir->path(), QStringLiteral("$DIR")).replace(QLatin1String("\r\n"), QLatin1String("\\r\\n"));
    }

    // "N=TEXT" puts TEXT on line N of the settings taken in, "file=PATH" moves the settings file.
    void Preset(const QString& changes)
    {
        QStringList lines = QString::fromStdString(SettingsFileText(state->Settings)).split(QStringLiteral("\r\n"));
        for (const QString& change : changes.split(QStringLiteral(" ; "), Qt::SkipEmptyParts)) {
            const QString key = change.section(QLatin1Char('='), 0, 0), value = change.section(QLatin1Char('='), 1);
            if (key == "file") state->Paths.FnSettings = dir->filePath(value).toStdString();
            else lines[key.toInt() - 1] = value;
        }
        ReadSettingsText(state->Settings, lines.join(QStringLiteral("\r\n")).toStdString());
        QCOMPARE(QString::fromStdString(SettingsFileText(state->Settings)), lines.join(QStringLiteral("\r\n")));
    }

    // What a step looks at: a box's or a label's text, a button's or a menu item's check, the
    // caption, a line of the settings file or of the settings in memory, the login taken apart, a
    // file of the program directory, or what was shown, opened or asked for help since the last look.
    QString Shown(QWidget& window, const QString& what)
    {
        const QString argument = what.section(QLatin1Char(' '), 1);
        if (auto* box = window.findChild<QLineEdit*>(what)) return box->text();
        if (auto* label = window.findChild<QLabel*>(what)) return label->text();
        if (auto* button = window.findChild<QAbstractButton*>(what)) return button->isChecked() ? "checked" : "unchecked";
        if (auto* item = window.findChild<QAction*>(what)) return item->isChecked() ? "checked" : "unchecked";
        if (what == "title") return Written(window.windowTitle());
        if (what.startsWith(QLatin1String("line "))) return Written(SettingsLine(argument.toInt()));
        if (what.startsWith(QLatin1String("memory ")))
            return QString::fromStdString(SettingsFileText(state->Settings)).split(QStringLiteral("\r\n")).value(argument.toInt() - 1);
        if (what.startsWith(QLatin1String("file ")))
            return Written(QString::fromStdString(ReadWholeFile(dir->filePath(argument).toStdString()).value_or("<missing>")));
        if (what == "login") return QString::fromStdString(state->Settings.UserName + "|" + state->Settings.Password);
        if (what == "messages") return Written(MessageBoxes::TakeShown().join(QStringLiteral(" / ")));
        if (what == "opened") return Written(std::exchange(services.opened, {}).join(QLatin1Char(' ')));
        if (what == "help") {
            QStringList topics;
            for (const int topic : std::exchange(services.helpTopics, {})) topics << QString::number(topic);
            return topics.join(QLatin1Char(' '));
        }
        return QStringLiteral("<nothing named %1>").arg(what);
    }

    // NAME=TEXT types into a box, NAME?TEXT compares what is shown, "click NAME" clicks a button or
    // a menu item, "answer yes|no" answers the next question, "choose FILE" the next file dialog,
    // "write FILE TEXT" writes a file, "no-editor" finds no editor for the files opened, "secret BOX" asks for a box that shows stars, "wide" for
    // boxes that hold ten digits, "close" shows the window and closes it, "esc BOX" presses Esc in
// BOX of the active window, which closes it.
    void Step(QWidget& window, const QString& step)
    {
        const qsizetype equals = step.indexOf(QLatin1Char('=')), question = step.indexOf(QLatin1Char('?'));
        const QString verb = step.section(QLatin1Char(' '), 0, 0), argument = step.section(QLatin1Char(' '), 1);
        if (question > 0 && (equals < 0 || question < equals)) {
            QCOMPARE(Shown(window, step.left(question)), step.mid(question + 1));
        } else if (verb == "click") {
            if (auto* button = window.findChild<QAbstractButton*>(argument)) button->click();
            else window.findChild<QAction*>(argument)->trigger();
        } else if (verb == "answer") {
            MessageBoxes::QueueAnswer(argument == "yes");
        } else if (step == "no-editor") {
            services.editorFound = false;
        } else if (verb == "choose") {
            services.nextChoice = dir->filePath(argument);
        } else if (verb == "write") {
            QVERIFY(ReplaceFile(dir->filePath(argument.section(QLatin1Char(' '), 0, 0)).toStdString(),
                                argument.section(QLatin1Char(' '), 1).replace(QLatin1String("\\r\\n"), QLatin1String("\r\n")).toStdString()));
        } else if (verb == "secret") {
            auto* box = window.findChild<QLineEdit*>(argument);
            QCOMPARE(box->echoMode(), QLineEdit::Password);
            QCOMPARE(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box), int('*'));
        } else if (equals > 0) {
            window.findChild<QLineEdit*>(step.left(equals))->setText(step.mid(equals + 1));
        } else if (step == "wide") {
            const int tenDigits = window.fontMetrics().horizontalAdvance(QStringLiteral("0000000000"));
            for (const QLineEdit* box : window.findChildren<QLineEdit*>())
                QVERIFY2(box->width() > tenDigits, qPrintable(box->objectName() + " cannot show ten digits"));
        } else if (verb == "esc") {
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            window.findChild<QWidget*>(argument)->setFocus();
            QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        } else if (step == "close") {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.close();
        } else {
            QFAIL(qPrintable("no step " + step));
        }
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
        MessageBoxes::EndScript();
        state.reset();
    }

    void everyRowEndsAsExpected_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("steps");
        for (const QStringList& row : TableRows(QStringLiteral("window-steps.tsv"), 4))
            QTest::newRow(qPrintable(row[0])) << row[1] << row[2] << row[3];
    }
    void everyRowEndsAsExpected()
    {
        QFETCH(QString, window);
        QFETCH(QString, preset);
        QFETCH(QString, steps);
        Preset(preset);
        if (QTest::currentTestFailed()) return;
        const std::unique_ptr<QWidget> shown = Make(window);
        for (const QString& step : steps.split(QStringLiteral(" ; "), Qt::SkipEmptyParts)) {
            Step(*shown, step);
            QVERIFY2(!QTest::currentTestFailed(), qPrintable("at the step " + step));
        }
    }

    // The main window's ticker and its Start button.
    void showsTheTickerAndAsksForTheRun()
    {
        Splash splash(*state, services);
        QCOMPARE(splash.Text1->text(), QString::fromLatin1(SampleTickerText) + QString::fromLatin1(SampleTickerText));
        QVERIFY(splash.Timer1->isActive());
        QCOMPARE(splash.Timer1->interval(), 220);
        QSignalSpy start(&splash, &Splash::StartRequested);
        splash.Command1->click();
        QCOMPARE(start.count(), 1);
    }

    void tickerWrapsOnTheFiftySeventhTick()
    {
        Splash splash(*state, services);
        splash.Timer1->stop();
        for (int i = 0; i < 56; ++i) splash.Timer1_Timer();
        QCOMPARE(splash.TickerLeft(), -8400);
        QCOMPARE(splash.Text1->x(), -8400 * splash.logicalDpiX() / 1440);
        splash.Timer1_Timer();
        QCOMPARE(splash.TickerLeft(), 0);
        QCOMPARE(splash.Text1->x(), 0);
    }

    void openingAMenuStopsTheTickerUntilTheMouseMovesOverIt()
    {
        Splash splash(*state, services);
        auto* fileMenu = splash.findChild<QMenu*>(QStringLiteral("mnuFile"));
        QVERIFY(fileMenu);
        emit fileMenu->aboutToShow();
        QVERIFY(!splash.Timer1->isActive());
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), splash.Text1->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(splash.Text1, &move);
        QVERIFY(splash.Timer1->isActive());
    }
};

QTEST_MAIN(WindowStepsTest)
#include "WindowStepsTest.moc"
