#pragma once
// What the run controller needs of the window that hosts it (the run window, the console runner,
// or a scripted fake in tests).

#include <string>

#include "core/insight/CsvText.h"
#include "core/run/PassTally.h"
#include "core/run/RunProblem.h"

enum class Lamp {
    Running,
    Paused,
    ResetQuestion,
    Done,
    Retrying, // running, but the last request to the quote server failed: it is being asked again
    Alarm,    // running, held while a saved symbol's alarm sounds
};

// The status line of a symbol saved while the Alarm box is checked.
inline std::string SavedAlarmText(const std::string& symbol) { return "Alarm: " + symbol + " saved"; }

class RunHost {
public:
    virtual ~RunHost() = default;

    virtual void SetStatus1(const std::string& text) = 0;
    virtual void SetStatus2(const std::string& text) = 0;
    // Text13: the report block of the symbol just evaluated.
    virtual void ShowBlock(const std::string& text) = 0;
    // False when ShowBlock shows nothing: the block of a symbol that is not saved is then not built.
    virtual bool ShowsBlocks() const { return true; }
    virtual void SetLamp(Lamp lamp) = 0;
    // Enables the four buttons; the focus goes to Pause when it is the only one enabled.
    virtual void EnableButtons(bool go, bool pause, bool reset, bool print) = 0;
    virtual bool AlarmChecked() const = 0;
    virtual bool RepeatChecked() const = 0;
    // A message box with the program's title and an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A Yes/No question with the given title; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;
    // A file that stops the run; `path` is its full path. The system's message by default.
    virtual void ShowProblem(RunProblem problem, const std::string& path)
    {
        ShowMessage(SystemProblemText(problem, path));
    }
    virtual void Beep() = 0;
    // A symbol was saved while the Alarm box is checked; the beeping follows from the run's timer.
    // The run window shows it as its first status line; a host that keeps a log gives it a line.
    virtual void AnnounceSaved(const std::string& symbol) { SetStatus1(SavedAlarmText(symbol)); }
    // Once per evaluated symbol, after its files were written; `detail` is the error text of an
    // Error outcome. Hosts that show no per-symbol account ignore it.
    virtual void SymbolDone(const std::string& symbol, SymbolOutcome outcome, const std::string& detail)
    {
        (void)symbol, (void)outcome, (void)detail;
    }
    // Each row the pass table gained, as its cells; `startsTable` when it is the first row of a
    // fresh Pass.csv. Hosts that show no pass table ignore it.
    virtual void PassRowAppended(const CsvRow& cells, bool startsTable) { (void)cells, (void)startsTable; }
    // Once when a pass reaches its last symbol, with the counts of this run window's part of it.
    virtual void PassDone(const PassTally& tally) { (void)tally; }
};
