#pragma once
// A run host for benchmarks and pass tests: shows nothing, answers No, and stops the program on a
// message, since a measured pass that has something to say measured the wrong thing.

#include <cstdlib>
#include <string>

#include "core/run/RunHost.h"

class SilentRunHost : public RunHost {
public:
    void SetStatus1(const std::string&) override {}
    void SetStatus2(const std::string&) override {}
    void ShowBlock(const std::string&) override {}
    void SetLamp(Lamp) override {}
    void EnableButtons(bool, bool, bool, bool) override {}
    bool AlarmChecked() const override { return false; }
    bool RepeatChecked() const override { return false; }
    void ShowMessage(const std::string&) override { std::abort(); }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void Beep() override {}
};
