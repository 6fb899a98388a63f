#pragma once
// The run window's logic without the window: activation, symbol loading, the fetch loop, the
// buttons, the timer and the alarm, as one explicit state machine. The host (the run window, the
// console runner, a test) feeds it events and calls Pump() until it has nothing to do; nothing here
// waits or runs an event loop of its own.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/SharedState.h"
#include "core/run/QuoteSource.h"
#include "core/run/RunHost.h"
#include "core/run/RunLock.h"

enum class PumpResult {
    Continue, // more work is ready: call Pump() again soon (after the host's pending events)
    Waiting,  // nothing to do until the next event (a tick, a click, a finished transfer)
    Finished, // the run window should close and the main window return (see Ending())
};

// Why the run ended or cannot go on; Running while it can.
enum class RunEnding {
    Running,
    Closed,             // the window was closed (also while the list was being loaded)
    ResultsNotWritable, // Results.txt could not be opened for appending; nothing runs
    SymbolFileUnusable, // the symbol file could not be opened or held no symbol
    SourceUnavailable,  // the quote source could not start its pass (Quote.txt unreadable)
    OutputNotWritten,   // a write to an output file failed part-way (a full disk): the run stops
    DirectoryInUse,     // another run holds the program directory; nothing runs
};

// What becomes of one symbol once its quotes are in; EvaluateSymbol in the program.
using SymbolEvaluator = std::function<void(SharedState&, RunHost&, std::int16_t ok)>;

inline constexpr std::int16_t AlarmBeepCount = 60;   // 60 beeps, one every 12 ticks: 72 seconds
inline constexpr std::int16_t TicksPerBeep = 12;
inline constexpr float DefaultInterestRate = 0.05f;
inline constexpr float HighestInterestRate = 3.0f;

class RunController {
public:
    // `local` replays the quote cache, `server` asks the quote server; the settings' quote source
    // flag chooses one at activation. Both must outlive the controller.
    RunController(SharedState& state, RunHost& host, QuoteSource& local, QuoteSource& server,
                  SymbolEvaluator evaluate);

    // False keeps the run going while a saved symbol's alarm sounds: the host is told with one
    // Beep() instead (a console run has nobody to silence a 72-second hold). True by default.
    void SetHoldOnAlarm(bool hold) { holdOnAlarm_ = hold; }

    // Form_Activate, once each time the run window opens: takes the program directory's run lock
    // (refused: a message, and the run ends at once with DirectoryInUse), resets the alarm and timing state,
    // restores the run position (from memory when the symbol list is loaded, else from
    // Progress.---; a record that is there but cannot be read resumes the pass at its first
    // symbol, keeping its output files), checks that Results.txt can be appended to and starts
    // loading the symbol list. The work itself happens in Pump(). A position past the list, or a
    // record of its last symbol, starts a new pass at the first symbol.
    void Activate();

    // Does a bounded amount of work: one loading step, one pass start, or at most one symbol.
    // Call it again after Continue at once, after Waiting when the next event has been handled.
    PumpResult Pump();

    // Timer1_Timer, every 100 ms: counts down the settle and time-out ticks and sounds the alarm.
    void Tick();

    void CmdGo_Click();
    void CmdStop_Click();
    void CmdReset_Click();
    void CkAlarm_Click();
    // Printing the shown block silences the alarm; the printing itself is the window's.
    void CmdPrint_Click();
    // Form_QueryUnload: abandons a transfer in progress and asks the loop to end. Never refused.
    // A pass closed at its first symbol is marked resumed (PassResumed), so that the next window
    // keeps its files as it does for any other symbol.
    void Close();

    RunEnding Ending() const { return ending_; }
    // Passes completed since activation; counted before the Repeat box is looked at.
    int PassesCompleted() const { return passesCompleted_; }

private:
    enum class Phase {
        Inactive,
        Idle,         // activation ended early: the window stays open and does nothing
        ReadSymbols,
        CountSymbols,
        SortSymbols,
        MergeSymbols,
        StartFetchLoop,
        PassStart,
        SourcePassStart,
        AwaitGo,      // fetch loop steps 2 to 4
        ShowBlock,
        AlarmHold,
        NextSymbol,
        Fetching,
        Finished,
    };

    // Each step of the machine: nothing to go straight on with the next phase in the same Pump(),
    // or the result Pump() returns.
    using StepResult = std::optional<PumpResult>;
    StepResult RunPhase();
    StepResult ReadSymbols();
    StepResult CountSymbols();
    StepResult SortSymbols();
    StepResult MergeSymbols();
    StepResult StartFetchLoop();
    StepResult PreparePass();
    StepResult SourcePassStart();
    StepResult AwaitGo();
    StepResult ShowBlock();
    StepResult AlarmHold();
    StepResult NextSymbol();
    StepResult Fetching();
    StepResult PassComplete();
    PumpResult Finish(RunEnding ending);
    // Takes SavedCount and SymbolIndex from Progress.---: 0 and 1 when it is missing; 0 and 1 of a
    // resumed pass (PassResumed) when it is there but cannot be read.
    void RestorePosition();
    // After a write to the output files failed: tells the host which file and why, and ends the
    // run as a close would. Nothing when every write went through.
    StepResult StopOnWriteFailure();
    void ShowWriteFailure();
    void EnterAwaitGo();
    void StartRunning();
    void Pause();
    QuoteSource& ActiveSource();

    SharedState& state_;
    RunHost& host_;
    QuoteSource& local_;
    QuoteSource& server_;
    SymbolEvaluator evaluate_;
    bool holdOnAlarm_ = true;
    RunLock lock_; // held from activation to the end of the run

    Phase phase_ = Phase::Inactive;
    RunEnding ending_ = RunEnding::Running;
    bool useLocalSource_ = false;
    bool statusIsDone_ = false;   // Status1 reads "Done"
    bool positionFromFile_ = false; // the position was read from Progress.--- at this activation
    bool passUnderWay_ = false;     // a pass has prepared its files and not reached its end
    bool alarmLampShown_ = false;   // the lamp shows the alarm holding the run
    int passesCompleted_ = 0;
};
