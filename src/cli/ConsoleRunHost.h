#pragma once
// The run window of the console runner. Progress and results go to standard output, messages and
// errors to standard error; the buttons and the lamp do not exist, and nobody answers questions.
// How much progress shows depends on the mode:
//   Terminal: one status line rewritten in place (position, status texts, rate, time left, saved);
//   Lines:    one line per symbol with its outcome ("[12/301] ACME good, saved"), for pipes and logs;
//   Verbose:  every status text on a line of its own;
//   Quiet:    nothing but errors.
// Every mode ends a pass with the same summary.

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "core/SharedState.h"
#include "core/run/RunHost.h"

enum class ProgressMode { Terminal, Lines, Verbose, Quiet };

class ConsoleRunHost final : public RunHost {
public:
    struct Options {
        ProgressMode Mode = ProgressMode::Lines;
        bool Alarm = false;      // the Alarm box is checked
        int TerminalColumns = 80; // the status line is cut to fit
    };

    // `repeat` answers whether the Repeat box is checked when a pass ends.
    ConsoleRunHost(const SharedState& state, Options options, std::function<bool()> repeat,
                   std::FILE* out = stdout, std::FILE* errors = stderr);

    void SetStatus1(const std::string& text) override;
    void SetStatus2(const std::string& text) override;
    void ShowBlock(const std::string&) override {}
    bool ShowsBlocks() const override { return false; }
    void SetLamp(Lamp) override {}
    void EnableButtons(bool, bool, bool, bool) override {}
    bool AlarmChecked() const override { return options_.Alarm; }
    bool RepeatChecked() const override { return repeat_(); }
    // "Quillon: " + the text, its CR LF line breaks as plain line ends, on standard error.
    void ShowMessage(const std::string& text) override;
    // The file named and what to do about it from a terminal, on standard error.
    void ShowProblem(RunProblem problem, const std::string& path) override;
    // Nobody can answer: No.
    bool AskYesNo(const std::string& text, const std::string& title) override;
    // The terminal bell.
    void Beep() override;
    // The alarm text on a line of its own that stays, even when quiet.
    void AnnounceSaved(const std::string& symbol) override;
    void SymbolDone(const std::string& symbol, SymbolOutcome outcome, const std::string& detail) override;
    void PassDone(const PassTally& tally) override;

    // Ends a status line left open on a terminal, before the program ends or prints a message.
    void EndStatusLine();

private:
    std::string Position() const;
    void DrawStatusLine();
    std::string PaceText() const;
    std::string WrittenFiles(const PassTally& tally) const;
    void WriteLine(std::FILE* stream, const std::string& line);

    const SharedState& state_;
    Options options_;
    std::function<bool()> repeat_;
    std::FILE* out_;
    std::FILE* errors_;
    bool lineOpen_ = false;
    std::string status1_;
    std::string status2_;
    std::chrono::steady_clock::time_point passStart_ = std::chrono::steady_clock::now();
    int evaluated_ = 0; // symbols evaluated since the pass started or resumed
    int saved_ = 0;
};
