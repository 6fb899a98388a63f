#include "desktop/windows/Tracing.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/services/DesktopServices.h"
#include "desktop/services/HelpKey.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/windows/ReportBox.h"
#include "charts/ChartPane.h"
#include "core/history/SymbolChart.h"
#include "core/report/Printer.h"
#include "core/report/ResultsPrinting.h"
#include "core/run/PassTally.h"
#include "core/run/ReplaySource.h"
#include "qt/QtText.h"

namespace {

constexpr int TickPeriodMs = 100;
// Bounds the work done after a close so a misbehaving source cannot hang the window.
constexpr int MaxPumpsWhileClosing = 1000;
// The report box shows a results block's 80 columns and this many of its lines when the screen
// has room; it scrolls, so the window can be made smaller than that.
constexpr int PreferredReportLines = 24;
constexpr int SmallestReportLines = 4;
constexpr int SmallestReportColumns = 20;

const char* const AlarmHintText = "Click Alarm or Pause to go on.";
const char* const SilentAlarmText =
    " No sound player (paplay or aplay) is installed: the alarm cannot be heard.";

struct LampLook {
    QColor colour;
    const char* words;
};

LampLook LookOf(Lamp lamp)
{
    switch (lamp) {
    case Lamp::Running: return {QColor(0, 255, 0), "Running"};
    case Lamp::Paused: return {QColor(255, 0, 0), "Paused"};
    case Lamp::ResetQuestion: return {QColor(255, 255, 0), "Reset question open"};
    case Lamp::Done: return {QColor(192, 192, 192), "Pass done"};
    case Lamp::Retrying: return {QColor(255, 160, 0), "Retrying"};
    case Lamp::Alarm: return {QColor(255, 0, 255), "Alarm"};
    }
    return {QColor(192, 192, 192), ""};
}

} // namespace

Tracing::Tracing(SharedState& state, DesktopServices& services, const ServerSourceFactory& makeServerSource,
                 QWidget* parent)
    : QWidget(parent), state_(state), services_(services)
{
    setObjectName(QStringLiteral("Tracing"));
    BuildControls();
    AddHelpKey(*this, services_);
    localSource_ = std::make_unique<ReplaySource>(state_, *this);
    serverSource_ = makeServerSource(state_, *this, [this] { controller_->CmdStop_Click(); });
    controller_ = std::make_unique<RunController>(state_, *this, *localSource_, *serverSource_,
                                                  RecordingHistory(history_));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TickPeriodMs);
    connect(Timer1, &QTimer::timeout, this, &Tracing::Timer1_Timer);
    pumpTimer_ = new QTimer(this);
    pumpTimer_->setSingleShot(true);
    pumpTimer_->setInterval(0);
    connect(pumpTimer_, &QTimer::timeout, this, &Tracing::PumpNow);
    FitToScreen();
}

// The controller refers to the sources and to this window: it goes first.
Tracing::~Tracing()
{
    controller_.reset();
}

void Tracing::BuildControls()
{
    const auto newButton = [this](const char* name, const QString& caption, void (Tracing::*handler)()) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };
    CmdGo = newButton("CmdGo", QStringLiteral("&Go"), &Tracing::CmdGo_Click);
    CmdStop = newButton("CmdStop", QStringLiteral("&Pause"), &Tracing::CmdStop_Click);
    CmdReset = newButton("CmdReset", QStringLiteral("&Reset"), &Tracing::CmdReset_Click);
    CmdPrint = newButton("CmdPrint", QStringLiteral("Pr&int"), &Tracing::CmdPrint_Click);
    for (QPushButton* button : {CmdGo, CmdStop, CmdReset, CmdPrint}) button->setEnabled(false);
    // Not a step of the run: it opens the table at any time.
    CmdPassTable = newButton("CmdPassTable", QStringLiteral("Pass &Table"), &Tracing::PassTableRequested);
    CmdChart = new QPushButton(QStringLiteral("&Chart"), this);
    CmdChart->setObjectName(QStringLiteral("CmdChart"));
    CmdChart->setCheckable(true);
    CmdChart->setAutoDefault(false);
    connect(CmdChart, &QPushButton::toggled, this, &Tracing::ShowChartPane);

    Chart = new ChartPane(this);
    Chart->hide();
    auto* menus = new QMenuBar(this);
    QMenu* view = menus->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuChart = view->addAction(QStringLiteral("&Chart of the Symbol on Screen"));
    mnuChart->setObjectName(QStringLiteral("mnuChart"));
    mnuChart->setCheckable(true);
    connect(mnuChart, &QAction::toggled, this, &Tracing::ShowChartPane);

    CkAlarm = new QCheckBox(QStringLiteral("&Alarm"), this);
    CkAlarm->setObjectName(QStringLiteral("CkAlarm"));
    connect(CkAlarm, &QCheckBox::clicked, this, &Tracing::CkAlarm_Click);
    CkRepeat = new QCheckBox(QStringLiteral("R&epeat"), this);
    CkRepeat->setObjectName(QStringLiteral("CkRepeat"));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Sunken);
    Picture1->setAutoFillBackground(true);
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    int widestWords = 0;
    for (const Lamp lamp : {Lamp::Running, Lamp::Paused, Lamp::ResetQuestion, Lamp::Done, Lamp::Retrying, Lamp::Alarm})
        widestWords = std::max(widestWords, Picture1->fontMetrics().horizontalAdvance(QLatin1String(LookOf(lamp).words)));
    Picture1->setMinimumWidth(widestWords + 16);

    Status1 = new QLabel(this);
    Status1->setObjectName(QStringLiteral("Status1"));
    Status2 = new QLabel(this);
    Status2->setObjectName(QStringLiteral("Status2"));
    for (QLabel* status : {Status1, Status2}) {
        status->setFrameShape(QFrame::StyledPanel);
        status->setFrameShadow(QFrame::Sunken);
        status->setMinimumHeight(status->fontMetrics().height() + 6);
        status->setTextFormat(Qt::PlainText);
        // A long line (an error with its advice, the account of a pass) wraps instead of holding
        // the window wider than the screen.
        status->setWordWrap(true);
    }

    Text13 = NewReportBox(this, "Text13");
    const QFontMetrics fixed(Text13->font());
    Text13->setMinimumSize(fixed.horizontalAdvance(QLatin1Char('M')) * SmallestReportColumns,
                           fixed.lineSpacing() * SmallestReportLines);

    auto* lampRow = new QHBoxLayout;
    lampRow->addWidget(Picture1);
    lampRow->addWidget(Status1, 1);
    auto* buttons = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{CmdGo, CmdStop, CmdReset, CmdPrint}) buttons->addWidget(control);
    buttons->addSpacing(16);
    buttons->addWidget(CkAlarm);
    buttons->addWidget(CkRepeat);
    buttons->addStretch();
    buttons->addWidget(CmdPassTable);
    buttons->addWidget(CmdChart);
    auto* blockRow = new QHBoxLayout;
    blockRow->addWidget(Text13, 1);
    blockRow->addWidget(Chart, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addLayout(lampRow);
    layout->addWidget(Status2);
    layout->addLayout(blockRow, 1);
    layout->addLayout(buttons);
    setTabOrder(CmdGo, CmdStop);
    setTabOrder(CmdStop, CmdReset);
    setTabOrder(CmdReset, CmdPrint);
    setTabOrder(CmdPrint, CkAlarm);
    setTabOrder(CkAlarm, CkRepeat);
    setTabOrder(CkRepeat, CmdPassTable);
    setTabOrder(CmdPassTable, CmdChart);
    setTabOrder(CmdChart, Text13);
    SetLamp(Lamp::Paused);

    // The help says Ctrl+Q ends the program, wherever the user is.
    auto* quit = new QAction(this);
    quit->setObjectName(QStringLiteral("QuitKey"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &Tracing::QuitRequested);
    addAction(quit);
}

QSize Tracing::PreferredSize() const
{
    // A results block is 58 lines of at most 80 characters: its width and a good part of it.
    const QFontMetrics fixed(Text13->font());
    const QSize report(fixed.horizontalAdvance(QLatin1Char('M')) * 82 + 30, fixed.lineSpacing() * PreferredReportLines);
    return sizeHint() + report - Text13->sizeHint();
}

void Tracing::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (activated_) return;
    activated_ = true;
    PlaceOnScreen();
    // After the window is up: activation may already need a message box.
    QTimer::singleShot(0, this, &Tracing::Form_Activate);
}

QSize Tracing::FrameAllowance() const
{
    // Until the window manager has decorated the window its frame is unknown: a title bar and a
    // border are reckoned instead, so that the title bar never ends above the screen.
    const QSize frame = frameGeometry().size() - size();
    if (!frame.isEmpty()) return frame;
    const int border = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return QSize(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + 2 * border);
}

void Tracing::FitToScreen()
{
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QSize room = screen->availableGeometry().size() - FrameAllowance();
    resize(PreferredSize().boundedTo(room).expandedTo(minimumSizeHint()));
}

void Tracing::PlaceOnScreen()
{
    FitToScreen(); // again, now that the frame may be known
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    const QSize outer = size() + FrameAllowance();
    move(free.left() + std::max(0, (free.width() - outer.width()) / 2),
         free.top() + std::max(0, (free.height() - outer.height()) / 4));
}

void Tracing::Form_Activate()
{
    if (closed_) return;
    Picture1->setFocus();
    setWindowTitle(QStringLiteral("Tracing [") + ToQ(state_.Settings.FnSym) + QStringLiteral("]"));
    Timer1->start();
    ++modalDepth_;
    controller_->Activate();
    --modalDepth_;
    SchedulePump();
}

void Tracing::SchedulePump()
{
    if (!closed_) pumpTimer_->start();
}

void Tracing::PumpNow()
{
    // A message box opened by the controller runs its own event loop; the step it belongs to is
    // not finished, so no further step may start until it closes.
    if (modalDepth_ > 0 || closed_) return;
    ++modalDepth_;
    const PumpResult result = controller_->Pump();
    --modalDepth_;
    if (result == PumpResult::Continue) SchedulePump();
    if (result == PumpResult::Finished) close();
}

void Tracing::Timer1_Timer()
{
    controller_->Tick();
    SchedulePump();
}

void Tracing::CmdGo_Click()
{
    controller_->CmdGo_Click();
    SchedulePump();
}

void Tracing::CmdStop_Click()
{
    controller_->CmdStop_Click();
    SchedulePump();
}

void Tracing::CmdReset_Click()
{
    controller_->CmdReset_Click();
    SchedulePump();
}

void Tracing::CkAlarm_Click()
{
    controller_->CkAlarm_Click();
}

void Tracing::CmdPrint_Click()
{
    controller_->CmdPrint_Click();
    const std::unique_ptr<DesktopPrinter> printer =
        services_.SetUpPrinter(this, ToQ(state_.Paths.ProgramDirectory) + QStringLiteral("/Interim.pdf"));
    if (!printer) return;
    PrintInterimBlock(shownBlock_, *printer, state_.clock);
    Status2->setText(printer->DoneText());
}

void Tracing::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
        return;
    }
    // The loop ends between steps: the symbol in hand is abandoned, files are closed, and the
    // progress record stays as the last finished symbol left it.
    controller_->Close();
    for (int i = 0; i < MaxPumpsWhileClosing && controller_->Pump() == PumpResult::Continue; ++i) {
    }
    closed_ = true;
    Timer1->stop();
    pumpTimer_->stop();
    event->accept();
    // Whatever ended the run, the main window comes back: the program never ends without it.
    emit RunWindowClosed();
}

void Tracing::SetStatus1(const std::string& text) { Status1->setText(ToQ(text)); }
void Tracing::SetStatus2(const std::string& text) { Status2->setText(ToQ(text)); }

void Tracing::ShowBlock(const std::string& text)
{
    shownBlock_ = text;
    ShowReport(*Text13, text);
    UpdateChart();
}

void Tracing::ShowChartPane(bool shown)
{
    // The button and the menu item say the same: the call that one makes for the other finds it done.
    if (Chart->isVisibleTo(this) == shown) return;
    Chart->setVisible(shown);
    CmdChart->setChecked(shown);
    mnuChart->setChecked(shown);
    const int paneWidth = Chart->sizeHint().width();
    // The report block keeps its width: the window grows by the pane, as far as the screen allows.
    if (!isMaximized() && !isFullScreen()) resize(width() + (shown ? paneWidth : -paneWidth), height());
    UpdateChart();
}

void Tracing::UpdateChart()
{
    if (!Chart->isVisible()) return;
    const std::string& symbol = state_.Run.CurrentSymbol;
    if (symbol.empty() || shownBlock_.empty()) {
        Chart->ShowNothing(QStringLiteral("No symbol on screen yet"));
        return;
    }
    // A store that cannot be read leaves the history empty; the recorder tells of it once.
    if (!chartHistory_.IsOpen()) (void)chartHistory_.OpenExisting(state_.Paths.FnHistory);
    Chart->ShowChart(ChartOfDay(HistoryDayOf(state_.Quote, symbol, FormatDate(state_.clock.Now())), chartHistory_));
}

void Tracing::SetLamp(Lamp lamp)
{
    if (lamp == Lamp::Alarm) {
        QString hint = QLatin1String(AlarmHintText);
        // Said once per window when nobody will hear the alarm, so that a held run is no riddle.
        if (!services_.AlarmAudible() && !silentAlarmTold_) {
            hint += QLatin1String(SilentAlarmText);
            silentAlarmTold_ = true;
        }
        Status2->setText(hint);
    } else if (lamp_ == Lamp::Alarm && Status2->text().startsWith(QLatin1String(AlarmHintText))) {
        Status2->clear();
    }
    lamp_ = lamp;
    const LampLook look = LookOf(lamp);
    QPalette palette = Picture1->palette();
    palette.setColor(QPalette::Window, look.colour);
    palette.setColor(QPalette::WindowText, Qt::black);
    Picture1->setPalette(palette);
    // The colour alone says nothing to a screen reader or a colour-blind user.
    Picture1->setText(QLatin1String(look.words));
    Picture1->setAccessibleName(QStringLiteral("Status lamp: ") + QLatin1String(look.words));
}

QString Tracing::LampText() const
{
    return Picture1->text();
}

void Tracing::EnableButtons(bool go, bool pause, bool reset, bool print)
{
    CmdGo->setEnabled(go);
    CmdStop->setEnabled(pause);
    CmdReset->setEnabled(reset);
    CmdPrint->setEnabled(print);
    if (pause && !go && !reset && !print) CmdStop->setFocus();
}

bool Tracing::AlarmChecked() const { return CkAlarm->isChecked(); }
bool Tracing::RepeatChecked() const { return CkRepeat->isChecked(); }

void Tracing::ShowMessage(const std::string& text)
{
    ++modalDepth_;
    MessageBoxes::ShowMessage(this, ToQ(text));
    --modalDepth_;
}

bool Tracing::AskYesNo(const std::string& text, const std::string& title)
{
    ++modalDepth_;
    const bool yes = MessageBoxes::AskYesNo(this, ToQ(text), ToQ(title));
    --modalDepth_;
    return yes;
}

void Tracing::Beep() { services_.Beep(); }

void Tracing::PassRowAppended(const CsvRow& cells, bool startsTable) { emit PassTableGrew(cells, startsTable); }

void Tracing::PassDone(const PassTally& tally) { Status2->setText(ToQ(PassTallyText(tally))); }
