#pragma once
// The run window of the console runner: status lines and messages go to standard error, the
// buttons and the lamp do not exist, and nobody answers questions.

#include <cstdio>
#include <functional>
#include <string>

#include "core/SharedState.h"
#include "core/run/RunHost.h"

class ConsoleRunHost final : public RunHost {
public:
    struct Options {
        bool Quiet = false;    // no status lines (messages and alarms still show)
        bool Alarm = false;    // the Alarm box is checked
        bool Terminal = false; // one line rewritten in place instead of a line per status
    };

    // `repeat` answers whether the Repeat box is checked when a pass ends.
    ConsoleRunHost(const SharedState& state, Options options, std::function<bool()> repeat,
                   std::FILE* out = stderr);

    // "[SymbolIndex/SymbolCount] text", or the text alone before the list is loaded.
    void SetStatus1(const std::string& text) override;
    void SetStatus2(const std::string& text) override;
    void ShowBlock(const std::string&) override {}
    bool ShowsBlocks() const override { return false; }
    void SetLamp(Lamp) override {}
    void EnableButtons(bool, bool, bool, bool) override {}
    bool AlarmChecked() const override { return options_.Alarm; }
    bool RepeatChecked() const override { return repeat_(); }
    // "Quillon: " + the text, its CR LF line breaks as plain line ends.
    void ShowMessage(const std::string& text) override;
    // Nobody can answer: No.
    bool AskYesNo(const std::string& text, const std::string& title) override;
    // The terminal bell.
    void Beep() override;
    // The alarm text on a line of its own that stays, even when quiet.
    void AnnounceSaved(const std::string& symbol) override;

    // Ends a status line left open on a terminal, before the program ends or prints a message.
    void EndStatusLine();

private:
    void ShowStatus(const std::string& text);
    void WriteLine(const std::string& line);

    const SharedState& state_;
    Options options_;
    std::function<bool()> repeat_;
    std::FILE* out_;
    bool lineOpen_ = false;
};
