#include "core/run/RunController.h"

#include <cstring>
#include <exception>

#include "core/text/TextFile.h"
#include "core/run/ProgressFile.h"
#include "core/run/StockScreen.h"
#include "core/run/SymbolList.h"

namespace {

constexpr const char* WaitingForGoText = "Waiting for Go";
constexpr const char* DoneText = "Done";
constexpr const char* ResultsRotatedText = "Saved Results.txt to Results.bak";
std::string WriteFailureText(const WriteFailure& failure)
{
    return "Cannot write " + failure.Path + ": " + std::strerror(failure.Error) + ", process stopped.";
}

constexpr const char* GoQuestion = "This will overwrite Results.txt, are you sure ?";
constexpr const char* ResetQuestion =
    "This will reset the process count and overwrite Results.txt, are you sure ?";

} // namespace

RunController::RunController(SharedState& state, RunHost& host, QuoteSource& local,
                             QuoteSource& server, SymbolEvaluator evaluate)
    : state_(state), host_(host), local_(local), server_(server), evaluate_(std::move(evaluate))
{
}

QuoteSource& RunController::ActiveSource() { return useLocalSource_ ? local_ : server_; }

void RunController::Activate()
{
    RunStatus& run = state_.Run;
    run.SettleTicks = 0;
    run.AlarmBeeps = 0;
    run.AlarmPending = false;
    run.RunState = Waiting;
    ending_ = RunEnding::Running;
    statusIsDone_ = false;
    positionFromFile_ = false;
    passUnderWay_ = false;
    alarmLampShown_ = false;
    passesCompleted_ = 0;
    run.Tally = PassTally{};
    useLocalSource_ = state_.Settings.GetQuoteFromLocalFile;

    std::string refusal;
    if (!lock_.Take(state_.Paths.ProgramDirectory, refusal)) {
        host_.ShowMessage(refusal);
        phase_ = Phase::Idle;
        Finish(RunEnding::DirectoryInUse);
        return;
    }
    if (state_.SymbolsLoaded) {
        phase_ = Phase::StartFetchLoop;
        return;
    }
    RestorePosition();
    float& rate = state_.Settings.InterestRate;
    if (!(rate >= 0 && rate <= HighestInterestRate)) rate = DefaultInterestRate;
    if (!CanAppendTo(state_.Paths.FnResults)) {
        host_.ShowProblem(RunProblem::ResultsNotWritable, state_.Paths.FnResults);
        phase_ = Phase::Idle;
        ending_ = RunEnding::ResultsNotWritable;
        return;
    }
    phase_ = Phase::ReadSymbols;
}

void RunController::RestorePosition()
{
    RunStatus& run = state_.Run;
    const std::string& fnProgress = state_.Paths.FnProgress;
    run.SavedCount = 0;
    run.SymbolIndex = 1;
    run.PassResumed = false;
    if (const auto progress = ReadProgress(fnProgress)) {
        run.SavedCount = progress->first;
        run.SymbolIndex = progress->second;
        positionFromFile_ = true;
    } else if (FileExists(fnProgress)) {
        // The record is always replaced whole, so one that is there but does not read was damaged
        // outside the program, at a moment that tells nothing about the pass. Starting afresh
        // would rotate the output files and put this pass's results over the last complete
        // pass's backup; going on from the first symbol with this pass's files loses nothing.
        run.PassResumed = true;
    }
}

PumpResult RunController::Pump()
{
    for (;;) {
        if (phase_ == Phase::Inactive) return PumpResult::Waiting;
        if (phase_ == Phase::Finished) return PumpResult::Finished;
        if (state_.Run.RunState == CloseRequested) return Finish(RunEnding::Closed);
        if (const StepResult result = RunPhase()) return *result;
    }
}

RunController::StepResult RunController::RunPhase()
{
    switch (phase_) {
    case Phase::Idle: return PumpResult::Waiting;
    case Phase::ReadSymbols: return ReadSymbols();
    case Phase::CountSymbols: return CountSymbols();
    case Phase::SortSymbols: return SortSymbols();
    case Phase::MergeSymbols: return MergeSymbols();
    case Phase::StartFetchLoop: return StartFetchLoop();
    case Phase::PassStart: return PreparePass();
    case Phase::SourcePassStart: return SourcePassStart();
    case Phase::AwaitGo: return AwaitGo();
    case Phase::ShowBlock: return ShowBlock();
    case Phase::AlarmHold: return AlarmHold();
    case Phase::NextSymbol: return NextSymbol();
    case Phase::Fetching: return Fetching();
    case Phase::Inactive:
    case Phase::Finished: break;
    }
    return PumpResult::Waiting;
}

PumpResult RunController::Finish(RunEnding ending)
{
    if (ending_ == RunEnding::Running) ending_ = ending;
    if (phase_ != Phase::Idle) ActiveSource().Cancel(); // closes the quote cache of a replay
    // The lines held back go out before the files close; if they cannot, the run ends on that.
    if (!state_.Outputs.Failure() && !state_.Outputs.Commit(state_.Paths)) {
        ShowWriteFailure();
        if (ending_ == RunEnding::Closed) ending_ = RunEnding::OutputNotWritten;
    }
    state_.Outputs.Close();
    phase_ = Phase::Finished;
    lock_.Release();
    return PumpResult::Finished;
}

// --- loading the symbol list: one step per Pump, so a close request in between abandons it ------

RunController::StepResult RunController::ReadSymbols()
{
    const std::string& fnSym = state_.Settings.FnSym;
    bool restIgnored = false;
    std::optional<std::vector<std::string>> symbols = ReadSymbolFile(fnSym, &restIgnored);
    if (!symbols) {
        host_.ShowProblem(RunProblem::SymbolFileUnreadable, fnSym);
        return Finish(RunEnding::SymbolFileUnusable);
    }
    if (restIgnored) host_.ShowMessage(RestIgnoredText(fnSym));
    state_.Symbols.SymbolList = std::move(*symbols);
    host_.SetStatus1(ReadingSymbolsText);
    phase_ = Phase::CountSymbols;
    return PumpResult::Continue;
}

RunController::StepResult RunController::CountSymbols()
{
    const std::size_t count = state_.Symbols.SymbolList.size();
    if (count == 0) {
        host_.ShowProblem(RunProblem::NoSymbols, state_.Settings.FnSym);
        return Finish(RunEnding::SymbolFileUnusable);
    }
    host_.SetStatus1(SortingSymbolsText(count));
    phase_ = Phase::SortSymbols;
    return PumpResult::Continue;
}

RunController::StepResult RunController::SortSymbols()
{
    ::SortSymbols(state_.Symbols.SymbolList);
    host_.SetStatus1(MergingSymbolsText);
    phase_ = Phase::MergeSymbols;
    return PumpResult::Continue;
}

RunController::StepResult RunController::MergeSymbols()
{
    std::vector<std::string>& list = state_.Symbols.SymbolList;
    MergeDuplicateSymbols(list);
    state_.Symbols.SymbolCount = static_cast<std::int16_t>(list.size());
    state_.SymbolsLoaded = true;
    phase_ = Phase::StartFetchLoop;
    return PumpResult::Continue;
}

// --- the fetch loop -------------------------------------------------------------------------------

RunController::StepResult RunController::StartFetchLoop()
{
    RunStatus& run = state_.Run;
    const std::int16_t count = state_.Symbols.SymbolCount;
    // The progress record names the symbol evaluated last, so one of the last symbol belongs to a
    // finished pass. A position kept in memory names the symbol still to come: the last one is
    // still to be done, and starting afresh would skip it and move this pass's results over the
    // last complete pass's backup.
    const std::int16_t lastToResume = positionFromFile_ ? static_cast<std::int16_t>(count - 1) : count;
    if (run.SymbolIndex > lastToResume || run.SymbolIndex < 1) {
        run.SymbolIndex = 1;
    } else if (positionFromFile_) {
        // A record of a symbol before the last one was written during a pass that is not over;
        // at symbol 1 too, the pass goes on instead of starting afresh and rotating its files.
        run.PassResumed = true;
    }
    phase_ = Phase::PassStart;
    return std::nullopt;
}

RunController::StepResult RunController::PreparePass()
{
    RunStatus& run = state_.Run;
    bool resultsRotated = false;
    passUnderWay_ = true;
    if (run.SymbolIndex == 1 && !run.PassResumed) {
        run.SavedCount = 0;
        resultsRotated = state_.Outputs.RotateForNewPass(state_.Paths);
        // From here a restart finds a record of this pass and resumes it instead of rotating the
        // files again, which would put this pass's first results over the last pass's backup.
        state_.Outputs.RecordProgress(state_.Paths, 0, 1);
        (void)state_.Outputs.Commit(state_.Paths);
        if (const StepResult stopped = StopOnWriteFailure()) return stopped;
    }
    StartRunning();
    phase_ = Phase::SourcePassStart;
    if (!resultsRotated) return std::nullopt;
    host_.SetStatus2(ResultsRotatedText);
    return PumpResult::Continue;
}

RunController::StepResult RunController::StopOnWriteFailure()
{
    if (!state_.Outputs.Failure()) return std::nullopt;
    ShowWriteFailure();
    return Finish(RunEnding::OutputNotWritten);
}

void RunController::ShowWriteFailure()
{
    host_.ShowMessage(WriteFailureText(*state_.Outputs.Failure()));
    // The files went back to the last progress record, which may lie symbols behind the one in
    // hand: the next window goes on from the record, as a new program would.
    state_.SymbolsLoaded = false;
}

RunController::StepResult RunController::SourcePassStart()
{
    const bool started = ActiveSource().StartPass();
    state_.Run.PassResumed = false;
    if (!started) return Finish(RunEnding::SourceUnavailable);
    EnterAwaitGo();
    return std::nullopt;
}

void RunController::EnterAwaitGo()
{
    phase_ = Phase::AwaitGo;
    if (state_.Run.RunState == Waiting && !statusIsDone_) host_.SetStatus1(WaitingForGoText);
}

RunController::StepResult RunController::AwaitGo()
{
    switch (state_.Run.RunState) {
    case Running:
        phase_ = Phase::ShowBlock;
        return std::nullopt;
    case ResetRequested:
        state_.Run.SymbolIndex = 1;
        phase_ = Phase::PassStart;
        return std::nullopt;
    default:
        return PumpResult::Waiting;
    }
}

RunController::StepResult RunController::ShowBlock()
{
    host_.ShowBlock(state_.Page.PageText);
    phase_ = Phase::AlarmHold;
    return PumpResult::Continue;
}

RunController::StepResult RunController::AlarmHold()
{
    RunStatus& run = state_.Run;
    if (run.AlarmPending) {
        run.AlarmPending = false;
        if (holdOnAlarm_) {
            run.AlarmBeeps = AlarmBeepCount;
            host_.SetLamp(Lamp::Alarm);
            alarmLampShown_ = true;
        } else {
            host_.Beep();
        }
    }
    if (run.AlarmBeeps != 0) return PumpResult::Waiting;
    if (alarmLampShown_) {
        alarmLampShown_ = false;
        // Silenced or run out while running: the run goes on under its own lamp. A pause has set
        // its lamp already.
        if (run.RunState == Running) host_.SetLamp(Lamp::Running);
    }
    // A pause or reset pressed while the alarm sounded takes effect before the next symbol.
    if (run.RunState != Running) {
        EnterAwaitGo();
        return std::nullopt;
    }
    phase_ = Phase::NextSymbol;
    return std::nullopt;
}

RunController::StepResult RunController::NextSymbol()
{
    RunStatus& run = state_.Run;
    if (run.SymbolIndex > state_.Symbols.SymbolCount) return PassComplete();
    run.CurrentSymbol = state_.Symbols.SymbolList[static_cast<std::size_t>(run.SymbolIndex - 1)];
    run.Verdict = SymbolVerdict::NotSaved;
    statusIsDone_ = false;
    ActiveSource().BeginSymbol();
    phase_ = Phase::Fetching;
    return PumpResult::Continue;
}

RunController::StepResult RunController::Fetching()
{
    std::optional<std::int16_t> ok;
    SymbolOutcome outcome = SymbolOutcome::Error;
    std::string detail;
    try {
        ok = ActiveSource().Step();
        if (!ok) return PumpResult::Waiting;
        evaluate_(state_, host_, *ok);
        outcome = *ok == 0 ? SymbolOutcome::NoQuotes : OutcomeOf(state_.Run.Verdict);
    } catch (const std::exception& error) {
        // The per-symbol boundary: this symbol ends here, the run goes on with the next one.
        detail = error.what();
        host_.SetStatus2("Error in " + state_.Run.CurrentSymbol + ": " + detail + ", symbol skipped");
    }
    // The symbol's lines were taken back: it is not done, and a restart evaluates it again.
    if (const StepResult stopped = StopOnWriteFailure()) return stopped;
    state_.Run.Tally.Count(outcome);
    host_.SymbolDone(state_.Run.CurrentSymbol, outcome, detail);
    ++state_.Run.SymbolIndex;
    EnterAwaitGo();
    return std::nullopt;
}

RunController::StepResult RunController::PassComplete()
{
    // The pass is done only when its last symbols' lines are in the files.
    (void)state_.Outputs.Commit(state_.Paths);
    if (const StepResult stopped = StopOnWriteFailure()) return stopped;
    RunStatus& run = state_.Run;
    run.SavedCount = 0;
    run.SymbolIndex = 1;
    passUnderWay_ = false;
    host_.SetStatus1(DoneText);
    statusIsDone_ = true;
    ++passesCompleted_;
    host_.PassDone(run.Tally);
    run.Tally = PassTally{};
    if (host_.RepeatChecked()) {
        phase_ = Phase::PassStart;
        return std::nullopt;
    }
    Pause();
    host_.SetLamp(Lamp::Done);
    EnterAwaitGo();
    return std::nullopt;
}

// --- buttons, timer, close ---------------------------------------------------------------------

void RunController::StartRunning()
{
    host_.SetLamp(Lamp::Running);
    host_.EnableButtons(/*go*/ false, /*pause*/ true, /*reset*/ false, /*print*/ false);
    state_.Run.RunState = Running;
}

void RunController::Pause()
{
    // Paused, the files are the user's to read, print or move: whole, up to the last symbol.
    (void)state_.Outputs.Commit(state_.Paths);
    if (StopOnWriteFailure()) return;
    state_.Outputs.Close();
    state_.Run.AlarmBeeps = 0;
    host_.SetLamp(Lamp::Paused);
    host_.EnableButtons(/*go*/ true, /*pause*/ false, /*reset*/ true, /*print*/ true);
    state_.Run.RunState = Waiting;
}

void RunController::CmdGo_Click()
{
    if (state_.Run.RunState == CloseRequested) return;
    state_.Run.AlarmBeeps = 0;
    if (state_.Run.SymbolIndex != 1) {
        StartRunning();
        return;
    }
    if (host_.AskYesNo(GoQuestion, "Go ?")) state_.Run.RunState = ResetRequested;
}

void RunController::CmdStop_Click()
{
    if (state_.Run.RunState == CloseRequested) return;
    Pause();
}

void RunController::CmdReset_Click()
{
    if (state_.Run.RunState == CloseRequested) return;
    state_.Run.AlarmBeeps = 0;
    host_.SetLamp(Lamp::ResetQuestion);
    host_.EnableButtons(false, false, false, false);
    if (host_.AskYesNo(ResetQuestion, "Reset ?"))
        state_.Run.RunState = ResetRequested;
    else
        Pause();
}

void RunController::CkAlarm_Click() { state_.Run.AlarmBeeps = 0; }

void RunController::CmdPrint_Click() { state_.Run.AlarmBeeps = 0; }

void RunController::Tick()
{
    RunStatus& run = state_.Run;
    if (run.SettleTicks != 0) --run.SettleTicks;
    if (run.TimeoutTicks != 0) --run.TimeoutTicks;
    if (run.AlarmBeeps == 0) return;
    if (run.BeepTickCounter < TicksPerBeep - 1) {
        ++run.BeepTickCounter;
        return;
    }
    run.BeepTickCounter = 0;
    --run.AlarmBeeps;
    host_.Beep();
}

void RunController::Close()
{
    ActiveSource().Cancel();
    // Closed before its first symbol was evaluated, a pass has rotated its files and may have
    // cached part of that symbol's quotes: the next window goes on with it instead of rotating
    // again, which would move that fragment over the last pass's quote cache backup.
    if (passUnderWay_ && state_.Run.SymbolIndex == 1) state_.Run.PassResumed = true;
    state_.Run.RunState = CloseRequested;
}
