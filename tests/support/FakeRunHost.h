#pragma once
// A run window stand-in for tests: records what the run shows and answers questions from a script.

#include <deque>
#include <string>
#include <vector>

#include "core/run/RunHost.h"

class FakeRunHost : public RunHost {
public:
    void SetStatus1(const std::string& text) override { status1.push_back(text); }
    void SetStatus2(const std::string& text) override { status2.push_back(text); }
    void ShowBlock(const std::string& text) override { block = text; }
    void SetLamp(Lamp value) override { lamp = value; }
    void EnableButtons(bool go, bool pause, bool reset, bool print) override
    {
        buttons = {go, pause, reset, print};
    }
    bool AlarmChecked() const override { return alarm; }
    bool RepeatChecked() const override { return repeat; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text, const std::string& title) override
    {
        questions.push_back(title + " " + text);
        lampWhenAsked = lamp;
        buttonsWhenAsked = buttons;
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Beep() override { ++beeps; }

    std::string LastStatus1() const { return status1.empty() ? "" : status1.back(); }

    struct Buttons {
        bool go = false, pause = false, reset = false, print = false;
        bool operator==(const Buttons&) const = default;
    };

    std::vector<std::string> status1, status2, messages, questions;
    std::string block;
    Lamp lamp = Lamp::Done;
    Buttons buttons;
    Lamp lampWhenAsked = Lamp::Done;
    Buttons buttonsWhenAsked;
    bool alarm = false;
    bool repeat = false;
    std::deque<bool> answers;
    int beeps = 0;
};
