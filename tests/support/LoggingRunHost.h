#pragma once
// A run window stand-in for scripted scenes (support/Transcript.h): logs, one line each, what the
// run shows, and answers its questions from a script.

#include <deque>
#include <string>
#include <vector>

#include "core/run/RunHost.h"
#include "support/Transcript.h"

class LoggingRunHost : public RunHost {
public:
    explicit LoggingRunHost(std::vector<std::string>& log) : log_(log) {}

    void SetStatus1(const std::string& text) override { log_.push_back("status1 " + text); }
    void SetStatus2(const std::string& text) override { log_.push_back("status2 " + text); }
    void ShowBlock(const std::string&) override {}
    void SetLamp(Lamp value) override
    {
        static const char* const names[] = {"Running", "Paused", "ResetQuestion", "Done", "Retrying", "Alarm"};
        lamp_ = names[static_cast<int>(value)];
        log_.push_back("lamp " + lamp_);
    }
    void EnableButtons(bool go, bool pause, bool reset, bool print) override
    {
        buttons_ = std::string("buttons") + (go ? " go" : "") + (pause ? " pause" : "") + (reset ? " reset" : "") +
                   (print ? " print" : "");
        log_.push_back(buttons_);
    }
    bool AlarmChecked() const override { return alarm; }
    bool RepeatChecked() const override { return false; }
    void ShowMessage(const std::string& text) override { log_.push_back("message " + Escaped(text)); }
    bool AskYesNo(const std::string& text, const std::string& title) override
    {
        const bool answer = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        log_.push_back("asked " + title + " " + Escaped(text) + " (lamp " + lamp_ + ", " + buttons_ + "): " +
                       (answer ? "yes" : "no"));
        return answer;
    }
    void Beep() override { log_.push_back("beep"); }

    bool alarm = false;
    std::deque<bool> answers;

private:
    std::vector<std::string>& log_;
    std::string lamp_, buttons_ = "buttons";
};
