#include "cli/RunCommand.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/ioctl.h>
#include <unistd.h>

#include "core/settings/SettingsFile.h"
#include "core/SharedState.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "cli/CliQuoteSources.h"
#include "cli/CliCommand.h"
#include "cli/CommandDirectory.h"
#include "cli/RunOptions.h"
#include "cli/ConsoleRunHost.h"
#include "qt/QtHttpTransfer.h"
#include "qt/SystemClock.h"
#include "core/history/HistoryRecorder.h"
#include "core/run/ProgressFile.h"
#include "core/run/RunController.h"
#include "core/run/ServerSource.h"

namespace {

constexpr int ExitUsage = 2;
constexpr int ExitSignalBase = 128;
// How long one turn of the event loop may pump before the timer and signals get their turn.
constexpr qint64 PumpBudgetMilliseconds = 10;

volatile std::sig_atomic_t receivedSignal = 0;

extern "C" void RememberSignal(int number) { receivedSignal = number; }

void InstallSignalHandlers()
{
    struct sigaction action {};
    action.sa_handler = RememberSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Verbose and quiet as asked; else a status line on a terminal and a line per symbol elsewhere.
ProgressMode ChooseProgressMode(const RunOptions& options)
{
    if (options.Verbose) return ProgressMode::Verbose;
    if (options.Quiet) return ProgressMode::Quiet;
    return ::isatty(STDOUT_FILENO) == 1 ? ProgressMode::Terminal : ProgressMode::Lines;
}

int TerminalColumns()
{
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// Everything a console run holds, in the order it is built.
class ConsoleRun {
public:
    ConsoleRun(QCoreApplication& app, const RunOptions& options, SharedState& state)
        : app_(app), options_(options), state_(state),
          host_(state, {ChooseProgressMode(options), options.Alarm, TerminalColumns()},
                [this] { return options_.Passes == 0 || controller_->PassesCompleted() < options_.Passes; }),
          sources_(state, host_, [this] { controller_->CmdStop_Click(); })
    {
        controller_ = std::make_unique<RunController>(state, host_, sources_.Local, *sources_.Server,
                                                      RecordingHistory(history_));
        // Nobody is at the console to silence a 72-second hold: a saved symbol rings once.
        controller_->SetHoldOnAlarm(false);
    }

    ConsoleRunHost& Host() { return host_; }
    [[nodiscard]] bool TrustCertificatesIn(const std::string& path) { return sources_.Transfer->TrustCertificatesIn(path); }

    int Exec()
    {
        QTimer ticks;
        ticks.setInterval(options_.TickMilliseconds);
        QObject::connect(&ticks, &QTimer::timeout, [this] {
            controller_->Tick();
            if (!pumpPosted_) Drive();
        });
        tickTimer_ = &ticks;
        ticks.start();
        controller_->Activate();
        Drive();
        const int code = ended_ ? exitCode_ : app_.exec();
        host_.EndStatusLine();
        if (code > ExitSignalBase) SayWhereItStopped();
        return code;
    }

private:
    void Drive()
    {
        pumpPosted_ = false;
        if (ended_) return;
        QElapsedTimer budget;
        budget.start();
        for (;;) {
            if (receivedSignal != 0 && !closing_) {
                closing_ = true; // as if the run window were closed
                controller_->Close();
            }
            const PumpResult result = controller_->Pump();
            if (result == PumpResult::Finished) return End(FinishedCode());
            if (result == PumpResult::Waiting) return CheckPaused();
            if (budget.elapsed() >= PumpBudgetMilliseconds) break;
        }
        pumpPosted_ = true;
        QTimer::singleShot(0, &app_, [this] { Drive(); });
    }

    // A paused run goes on only when somebody presses Go, and nobody will.
    void CheckPaused()
    {
        if (controller_->Ending() == RunEnding::ResultsNotWritable) return End(ExitCannotGoOn);
        if (state_.Run.RunState != Waiting) return; // waiting for a tick or a transfer
        const bool passesDone = options_.Passes != 0 && controller_->PassesCompleted() >= options_.Passes;
        End(passesDone ? ExitDone : ExitCannotGoOn);
    }

    // Where the next run goes on: the progress record's symbol, evaluated again.
    void SayWhereItStopped() const
    {
        const auto progress = ReadProgress(state_.Paths.FnProgress);
        if (!progress || state_.Symbols.SymbolCount == 0) return;
        std::fprintf(stderr, "quillon-cli run: stopped at %d/%d; run the same command again to go on\n",
                     progress->second, state_.Symbols.SymbolCount);
    }

    int FinishedCode() const
    {
        if (controller_->Ending() == RunEnding::Closed && receivedSignal != 0)
            return ExitSignalBase + receivedSignal;
        return ExitCannotGoOn;
    }

    void End(int code)
    {
        ended_ = true;
        exitCode_ = code;
        if (tickTimer_) tickTimer_->stop();
        app_.exit(code);
    }

    QCoreApplication& app_;
    const RunOptions& options_;
    SharedState& state_;
    ConsoleRunHost host_;
    CliQuoteSources sources_;
    HistoryRecorder history_;
    std::unique_ptr<RunController> controller_;
    QTimer* tickTimer_ = nullptr;
    bool pumpPosted_ = false;
    bool closing_ = false;
    bool ended_ = false;
    int exitCode_ = ExitDone;
};

// Start-up without the agreement gate: the paths, the settings, this run's choice of source.
// False when the settings file had to be created and could not be (the defaults are in effect).
[[nodiscard]] bool PrepareRun(SharedState& state, const RunOptions& options, const std::string& directory)
{
    PrepareSharedState(state, directory);
    RemoveLeftoverTemporaryFiles(directory);
    const bool settingsSaved = LoadSettingsOrDefaults(state);
    if (state.Settings.FnSym.empty()) state.Settings.FnSym = state.Paths.DefaultFnSym;
    if (options.FromLocalFile) state.Settings.GetQuoteFromLocalFile = *options.FromLocalFile;
    return settingsSaved;
}

} // namespace

int RunCommand(int argc, char** argv)
{
    RunOptions options;
    if (const auto ended = ReadCommandLineOrEnd(RunUsage, RunOptionTable(options), CommandArguments(argc, argv)))
        return *ended;
    QCoreApplication app(argc, argv);

    SystemClock systemClock;
    std::unique_ptr<FixedClock> fixedClock;
    if (options.Now) fixedClock = std::make_unique<FixedClock>(*options.Now);
    SharedState state(fixedClock ? static_cast<const Clock&>(*fixedClock) : systemClock);
    const std::optional<std::string> directory = CommandDirectory(RunUsage.Program, options.Directory);
    if (!directory) return ExitCannotGoOn;

    const bool settingsSaved = PrepareRun(state, options, *directory);
    InstallSignalHandlers();
    // The sources take the quote server settings when they are built, so after PrepareRun.
    ConsoleRun run(app, options, state);
    if (!options.CaFile.empty() && !run.TrustCertificatesIn(options.CaFile)) {
        std::fprintf(stderr, "quillon-cli run: no certificate in %s\n", options.CaFile.c_str());
        return ExitUsage;
    }
    if (!settingsSaved) run.Host().ShowMessage(CannotCreateText(state.Paths.FnSettings));
    return run.Exec();
}
