#include "desktop/windows/Splash.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "core/settings/SymbolFileActions.h"
#include "desktop/dialogs/Agree.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/dialogs/Interest.h"
#include "desktop/dialogs/QuoteServer.h"
#include "desktop/dialogs/SettingsSaving.h"
#include "desktop/services/DesktopServices.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/services/WindowFrame.h"
#include "core/report/Printer.h"
#include "core/report/ResultsPrinting.h"
#include "qt/QtText.h"

namespace {

// Geometry of the window's picture in twips, as the window was laid out.
constexpr int ClientWidth = 8652;
constexpr int ClientHeight = 2652;
constexpr int TickerTop = 2220;
constexpr int TickerWidth = 16968;
constexpr int TickerHeight = 300;
constexpr int TickerStep = 150;      // per tick of Timer1
constexpr int TickerWrapLimit = -8535;
constexpr int TickerPeriodMs = 220;
// The ticker goes back to 0 on the step that passes the limit: 57 steps, 8550 twips per cycle.
constexpr int TickerCycle = (-TickerWrapLimit / TickerStep + 1) * TickerStep;

// "0.0#": one or two decimals.
QString VersionText(float version)
{
    QString text = QString::number(static_cast<double>(version), 'f', 2);
    if (text.endsWith(QLatin1Char('0'))) text.chop(1);
    return QStringLiteral("Version ") + text;
}

// The symbol file actions, carried out with this window's dialogs.
class SplashSymbolFileHost final : public SymbolFileHost {
public:
    SplashSymbolFileHost(QWidget* window, const SharedState& state, DesktopServices& services)
        : window_(window), state_(state), services_(services)
    {
    }
    std::optional<std::string> ChooseFileName(const std::string& directory, const std::string& file) override
    {
        const auto chosen = services_.ChooseSymbolFile(window_, ToQ(directory), ToQ(file));
        if (!chosen) return std::nullopt;
        return chosen->toStdString();
    }
    void OpenInEditor(const std::string& path) override { (void)services_.OpenInEditor(window_, ToQ(path)); }
    void ShowMessage(const std::string& text) override { MessageBoxes::ShowMessage(window_, ToQ(text)); }
    bool AskYesNo(const std::string& text) override { return MessageBoxes::AskYesNo(window_, ToQ(text)); }
    void SaveSettings() override { ::SaveSettings(window_, state_); }

private:
    QWidget* window_;
    const SharedState& state_;
    DesktopServices& services_;
};

} // namespace

Splash::Splash(SharedState& state, DesktopServices& services, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(services)
{
    setObjectName(QStringLiteral("Splash"));
    BuildPicture();
    BuildMenus();
    // The picture has one size: maximised, the window would only leave it in a corner.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    KeepNaturalSize(*this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TickerPeriodMs);
    connect(Timer1, &QTimer::timeout, this, &Splash::Timer1_Timer);
    Timer1->start();
    Form_Activate();
}

int Splash::Pixels(int twips) const
{
    return twips * logicalDpiX() / 1440;
}

void Splash::BuildPicture()
{
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(Pixels(ClientWidth), Pixels(ClientHeight));
    setCentralWidget(Picture1);

    Label4 = new QLabel(QStringLiteral("Quillon"), Picture1);
    Label4->setObjectName(QStringLiteral("Label4"));
    QFont titleFont(QStringLiteral("Times New Roman"), 48, QFont::Bold);
    titleFont.setStyleHint(QFont::Serif);
    Label4->setFont(titleFont);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setGeometry(0, 0, Pixels(8484), Pixels(1080));

    // No access key: it is the default button, so Enter presses it, and Alt+S belongs to Setup.
    Command1 = new QPushButton(QStringLiteral("Start"), Picture1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Pixels(3600), Pixels(1410), Pixels(1332), Pixels(420));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Splash::Command1_Click);

    Label1 = new QLabel(Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    Label1->setFont(fixed);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, Pixels(1920), Pixels(8484), Pixels(300));

    Text1 = new QLineEdit(Picture1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFrame(false);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setAccessibleName(QStringLiteral("Sample ticker"));
    QFont tickerFont(QStringLiteral("Courier New"), 12);
    tickerFont.setStyleHint(QFont::TypeWriter);
    // Stretch the letters so one copy of the line is exactly one wrap distance wide: the second
    // copy then takes the first one's place without a visible jump, whatever font stands in.
    const int wrapDistance = Pixels(TickerCycle);
    const QString line = ToQ(state_.TickerText);
    const int natural = QFontMetrics(tickerFont).horizontalAdvance(line);
    if (!line.isEmpty())
        tickerFont.setLetterSpacing(QFont::AbsoluteSpacing, double(wrapDistance - natural) / line.size());
    Text1->setFont(tickerFont);
    Text1->setTextMargins(0, 0, 0, 0);
    Text1->setStyleSheet(QStringLiteral("QLineEdit { color: #00ff00; background: black; padding: 0; }"));
    Text1->setGeometry(0, Pixels(TickerTop), Pixels(TickerWidth), Pixels(TickerHeight));
    Text1->setMouseTracking(true);
    Text1->installEventFilter(this);
}

QAction* Splash::AddItem(QMenu* menu, const char* name, const QString& caption, void (Splash::*handler)())
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void Splash::BuildMenus()
{
    const auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        connect(menu, &QMenu::aboutToShow, this, &Splash::StopTicker);
        return menu;
    };
    const auto addDash = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QLatin1String(name)); };

    QMenu* file = addMenu("mnuFile", QStringLiteral("&File"));
    AddItem(file, "mnuChoose", QStringLiteral("&Choose Symbol File Name"), &Splash::mnuChoose_Click)
        ->setShortcut(QKeySequence::Open);
    AddItem(file, "mnuEditSymbols", QStringLiteral("&Edit Symbol File"), &Splash::mnuEditSymbols_Click);
    addDash(file, "mnuDash0");
    AddItem(file, "mnuSwap2", QStringLiteral("Swap: Symbol File <--> &GoodSym.txt (Good Symbols)"), &Splash::mnuSwap2_Click);
    AddItem(file, "mnuSwap3", QStringLiteral("Swap: Symbol File <--> &BadSym.txt (Bad Symbols)"), &Splash::mnuSwap3_Click);
    AddItem(file, "mnuSwap1", QStringLiteral("Swap: Symbol File <--> &SavedSym.txt (Saved Symbols)"), &Splash::mnuSwap1_Click);
    addDash(file, "mnuFileDash1");
    AddItem(file, "mnuPrintResults", QStringLiteral("&Print Results"), &Splash::mnuPrintResults_Click)
        ->setShortcut(QKeySequence::Print);

    QMenu* view = addMenu("mnuView", QStringLiteral("&View"));
    AddItem(view, "mnuGoodSym", QStringLiteral("&Good Symbols (GoodSym.txt)"), &Splash::mnuGoodSym_Click);
    AddItem(view, "mnuBadSym", QStringLiteral("&Bad Symbols (BadSym.txt)"), &Splash::mnuBadSym_Click);
    addDash(view, "mnuViewDash1");
    AddItem(view, "mnuResultsSymols", QStringLiteral("&Saved Symbols (SavedSym.txt)"), &Splash::mnuResultsSymols_Click);
    AddItem(view, "mnuResults", QStringLiteral("&Results (Results.txt)"), &Splash::mnuResults_Click);
    AddItem(view, "mnuPassTable", QStringLiteral("Pass &Table (Pass.csv)"), &Splash::mnuPassTable_Click);
    addDash(view, "mnuViewDash2");
    AddItem(view, "mnuRunNotepad", QStringLiteral("Run &Notepad"), &Splash::mnuRunNotepad_Click);

    QMenu* setup = addMenu("mnuSetup", QStringLiteral("&Setup"));
    AddItem(setup, "mnuQuoteServer", QStringLiteral("&Quote Server"), &Splash::mnuQuoteServer_Click);
    AddItem(setup, "mnuInterest", QStringLiteral("&Risk Free Interest Rate"), &Splash::mnuInterest_Click);
    AddItem(setup, "mnuFilter", QStringLiteral("&Filter"), &Splash::mnuFilter_Click);
    addDash(setup, "mnuSetupDash0");
    mnuGetQuoteFromQuoteServer = AddItem(setup, "mnuGetQuoteFromQuoteServer", QStringLiteral("Get Quote from &Quote Server"),
                                         &Splash::mnuGetQuoteFromQuoteServer_Click);
    mnuGetQuoteFromLocalFile = AddItem(setup, "mnuGetQuoteFromLocalFile",
                                       QStringLiteral("Get Quote from &Local File <-- Quotes.txt"),
                                       &Splash::mnuGetQuoteFromLocalFile_Click);
    mnuGetQuoteFromQuoteServer->setCheckable(true);
    mnuGetQuoteFromLocalFile->setCheckable(true);
    mnuGetQuoteFromQuoteServer->setChecked(true);

    QMenu* help = addMenu("mnuHelp", QStringLiteral("&Help"));
    AddItem(help, "mnuContents", QStringLiteral("&Contents"), &Splash::mnuContents_Click)->setShortcut(Qt::Key_F1);
    AddItem(help, "mnuHowToContactUs", QStringLiteral("Contact &Us"), &Splash::mnuHowToContactUs_Click);
    addDash(help, "mnuHelpDash1");
    AddItem(help, "mnuDisclaimer", QStringLiteral("Review &Agreement"), &Splash::mnuDisclaimer_Click);

    // Ctrl+Q as in every desktop program, without an item of its own in the menus.
    auto* quit = new QAction(this);
    quit->setObjectName(QStringLiteral("QuitKey"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &Splash::QuitKey_Triggered);
    addAction(quit);
}

bool Splash::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return QMainWindow::event(event);
}

bool Splash::eventFilter(QObject* watched, QEvent* event)
{
    // The ticker stands still after a menu was opened until the mouse moves over it.
    if (watched == Text1 && event->type() == QEvent::MouseMove) Timer1->start();
    return QMainWindow::eventFilter(watched, event);
}

void Splash::Form_Activate()
{
    ShowCaption();
    Label1->setText(VersionText(state_.ProgramVersion));
    Text1->setText(ToQ(state_.TickerText + state_.TickerText));
    Text1->setCursorPosition(0);
    if (state_.Settings.GetQuoteFromLocalFile) {
        mnuGetQuoteFromLocalFile->setChecked(true);
        mnuGetQuoteFromQuoteServer->setChecked(false);
    }
}

void Splash::ShowCaption()
{
    setWindowTitle(QStringLiteral("Welcome to Quillon [") + ToQ(state_.Settings.FnSym) + QStringLiteral("]"));
}

void Splash::Timer1_Timer()
{
    tickerLeft_ -= TickerStep;
    if (tickerLeft_ < TickerWrapLimit) tickerLeft_ = 0;
    Text1->move(Pixels(tickerLeft_), Pixels(TickerTop));
}

void Splash::StopTicker()
{
    Timer1->stop();
}

void Splash::Command1_Click()
{
    emit StartRequested();
}

void Splash::mnuChoose_Click()
{
    SplashSymbolFileHost host(this, state_, services_);
    if (ChooseSymbolFile(state_, host)) ShowCaption();
}

void Splash::mnuEditSymbols_Click()
{
    SplashSymbolFileHost host(this, state_, services_);
    EditSymbolFile(state_, host);
}

void Splash::Swap(const std::string& other)
{
    SplashSymbolFileHost host(this, state_, services_);
    SwapSymbolFile(state_, host, other);
}

void Splash::mnuSwap1_Click() { Swap(state_.Paths.FnSavedSym); }
void Splash::mnuSwap2_Click() { Swap(state_.Paths.FnGoodSym); }
void Splash::mnuSwap3_Click() { Swap(state_.Paths.FnBadSym); }

void Splash::mnuPrintResults_Click()
{
    // A damaged report can hold a form feed on every line: a page each.
    if (const auto pages = CountResultsPages(state_.Paths); pages && *pages > ManyPages) {
        const QString question = QStringLiteral("Results.txt makes %1 pages. Print them all ?").arg(*pages);
        if (!MessageBoxes::AskYesNo(this, question)) return;
    }
    const std::unique_ptr<DesktopPrinter> printer =
        services_.SetUpPrinter(this, ToQ(state_.Paths.ProgramDirectory) + QStringLiteral("/Results.pdf"));
    if (!printer) return; // cancelled: nothing is printed
    // Without a progress record or a results file there is nothing to print.
    if (PrintResults(state_.Paths, state_.Run.SavedCount, *printer, state_.clock))
        statusBar()->showMessage(printer->DoneText());
    else
        statusBar()->showMessage(QStringLiteral("Nothing to print: no results of a pass yet"));
}

void Splash::OpenInEditor(const std::string& path) { (void)services_.OpenInEditor(this, ToQ(path)); }
void Splash::mnuGoodSym_Click() { OpenInEditor(state_.Paths.FnGoodSym); }
void Splash::mnuBadSym_Click() { OpenInEditor(state_.Paths.FnBadSym); }
// sic: the menu item's name is spelled so, and tests and scripts find it by that name.
void Splash::mnuResultsSymols_Click() { OpenInEditor(state_.Paths.FnSavedSym); }
void Splash::mnuResults_Click() { OpenInEditor(state_.Paths.FnResults); }

void Splash::mnuPassTable_Click() { emit PassTableRequested(); }

void Splash::mnuRunNotepad_Click()
{
    // There is no one "editor without a file" on every desktop: the user's editor opens a scratch
    // file kept in the program directory instead, created on first use and never emptied. It is
    // not left behind, empty, when no editor could be started.
    const QString notes = ToQ(state_.Paths.ProgramDirectory) + QStringLiteral("/Notes.txt");
    const bool existed = QFile::exists(notes);
    QFile file(notes);
    file.open(QIODevice::Append); // creates it; a failure is the editor's to report
    file.close();
    if (!services_.OpenInEditor(this, notes) && !existed) QFile::remove(notes);
}

void Splash::mnuQuoteServer_Click()
{
    QuoteServer dialog(state_, services_, this);
    dialog.exec();
}

void Splash::mnuInterest_Click()
{
    Interest dialog(state_, services_, this);
    dialog.exec();
}

void Splash::mnuFilter_Click()
{
    Filter dialog(state_, services_, this);
    dialog.exec();
}

void Splash::SetQuoteSource(bool localFile)
{
    mnuGetQuoteFromLocalFile->setChecked(localFile);
    mnuGetQuoteFromQuoteServer->setChecked(!localFile);
    state_.Settings.GetQuoteFromLocalFile = localFile;
    SaveSettings(this, state_);
}

void Splash::mnuGetQuoteFromQuoteServer_Click() { SetQuoteSource(false); }
void Splash::mnuGetQuoteFromLocalFile_Click() { SetQuoteSource(true); }

void Splash::mnuContents_Click() { services_.ShowHelpTopic(this, HelpContentsTopic); }
void Splash::mnuHowToContactUs_Click() { services_.ShowHelpTopic(this, HelpContactTopic); }

void Splash::QuitKey_Triggered()
{
    // The help window too: the program ends with its last window.
    QApplication::closeAllWindows();
}

void Splash::mnuDisclaimer_Click()
{
    // Not a premature acceptance: the flag set on entry is what opens the dialog in review mode
    // (both buttons disabled, only the close box). Whoever gets here has accepted already.
    state_.AgreementAccepted = true;
    Agree dialog(state_.AgreementAccepted, services_, this);
    dialog.exec();
}
