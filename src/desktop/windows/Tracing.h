#pragma once
// The run window. It hosts the run controller: the controller decides, the window shows status,
// lamp and report block, forwards clicks and the 100 ms timer, and keeps the event loop turning by
// re-posting the controller's work with a zero-time timer while there is more to do.

#include <QWidget>
#include <functional>
#include <memory>

#include "core/SharedState.h"
#include "core/run/QuoteSource.h"
#include "core/history/HistoryRecorder.h"
#include "core/run/RunController.h"
#include "core/run/RunHost.h"

class ChartPane;
class DesktopServices;
class QAction;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// Builds the quote server source for a run window: the window is its host, and `pauseRun` pauses
// the run as the Pause button does (the source calls it when the server refuses the login).
using ServerSourceFactory =
    std::function<std::unique_ptr<QuoteSource>(SharedState&, RunHost&, std::function<void()> pauseRun)>;

class Tracing : public QWidget, public RunHost {
    Q_OBJECT
public:
    Tracing(SharedState& state, DesktopServices& services, const ServerSourceFactory& makeServerSource,
            QWidget* parent = nullptr);
    ~Tracing() override;

    QLabel* Status1;
    QLabel* Status2;
    QPlainTextEdit* Text13;
    QLabel* Picture1; // the status lamp
    QPushButton* CmdGo;
    QPushButton* CmdStop;
    QPushButton* CmdReset;
    QPushButton* CmdPrint;
    QPushButton* CmdPassTable;
    QPushButton* CmdChart; // shows or hides ChartPane, as the View menu's Chart item does
    QAction* mnuChart;
    ChartPane* Chart;      // beside the report block: the smile and IV history of the symbol on screen
    QCheckBox* CkAlarm;
    QCheckBox* CkRepeat;
    QTimer* Timer1;

    // The lamp's state in words, as screen readers and tests see it.
    QString LampText() const;
    const RunController& Controller() const { return *controller_; }
    // True while a step of the run is on the stack, e.g. waiting for its message box to close.
    bool InStep() const { return modalDepth_ > 0; }

    void SetStatus1(const std::string& text) override;
    void SetStatus2(const std::string& text) override;
    void ShowBlock(const std::string& text) override;
    void SetLamp(Lamp lamp) override;
    void EnableButtons(bool go, bool pause, bool reset, bool print) override;
    bool AlarmChecked() const override;
    bool RepeatChecked() const override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text, const std::string& title) override;
    void Beep() override;
    void PassRowAppended(const CsvRow& cells, bool startsTable) override;
    // Status2 gives the account of the pass.
    void PassDone(const PassTally& tally) override;

    // The size the window opens at when the screen has room: the report box shows a results
    // block's full width and a good part of its lines.
    QSize PreferredSize() const;

signals:
    // The run window has closed; the main window is to come back.
    void RunWindowClosed();
    // Ctrl+Q: the program is to end.
    void QuitRequested();
    // The Pass Table button.
    void PassTableRequested();
    // The pass table gained a row (see RunHost::PassRowAppended).
    void PassTableGrew(const CsvRow& cells, bool startsTable);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    QSize FrameAllowance() const;
    // Opens at the preferred size, or smaller where the screen's free area is smaller.
    void FitToScreen();
    void PlaceOnScreen();
    void Form_Activate();
    void Timer1_Timer();
    void CmdGo_Click();
    void CmdStop_Click();
    void CmdReset_Click();
    void CkAlarm_Click();
    void CmdPrint_Click();
    void ShowChartPane(bool shown);
    // The chart of the symbol whose block is on screen, while the pane is shown.
    void UpdateChart();
    void SchedulePump();
    void PumpNow();

    SharedState& state_;
    DesktopServices& services_;
    std::unique_ptr<QuoteSource> localSource_;
    std::unique_ptr<QuoteSource> serverSource_;
    HistoryRecorder history_;
    HistoryStore chartHistory_; // read by the chart pane, beside the recorder's own connection
    std::unique_ptr<RunController> controller_;
    QTimer* pumpTimer_;
    std::string shownBlock_;
    bool activated_ = false;
    bool closed_ = false;
    Lamp lamp_ = Lamp::Paused;
    bool silentAlarmTold_ = false;
    int modalDepth_ = 0; // message boxes open: the controller is in the middle of a step
};
