// The run window's logic driven as the window drives it, over the recorded quote cache and the real
// evaluation: what a click, a tick, a close or a restart does to the pass and its files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/numbers/ArithmeticFault.h"
#include "core/run/Evaluation.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunController.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "support/FakeRunHost.h"
#include "support/TemporaryDirectory.h"

namespace {

using Strings = std::vector<std::string>;

// The recorded cache answered as slowly as a quote server: `stepsToWait` Step() calls per symbol.
class SlowSource final : public QuoteSource {
public:
    explicit SlowSource(QuoteSource& source) : source_(source) {}
    bool StartPass() override { return source_.StartPass(); }
    void BeginSymbol() override
    {
        source_.BeginSymbol();
        remaining_ = stepsToWait;
    }
    std::optional<std::int16_t> Step() override
    {
        if (remaining_ == 0) return source_.Step();
        --remaining_;
        return std::nullopt;
    }
    void Cancel() override { source_.Cancel(); }

    int stepsToWait = 0;

private:
    QuoteSource& source_;
    int remaining_ = 0;
};

// The list sorts to ACS AEE ATB BCU; the recorded settings save ATB and BCU.
const Strings AllFour{"ACS", "AEE", "ATB", "BCU"};
const FakeRunHost::Buttons PausedButtons{true, false, true, true};
const FakeRunHost::Buttons RunningButtons{false, true, false, false};

class RunControllerTest : public ::testing::Test {
protected:
    RunControllerTest() : clock(LocalDateTime{2026, 3, 9, 15, 30, 0}), state(clock)
    {
        PrepareSharedState(state, directory.Path());
        for (const char* name : {"Quote.txt", "Quillon.---"})
            std::filesystem::copy_file(std::string(QUILLON_TEST_DATA "/replay/") + name, directory.File(name));
        EXPECT_TRUE(LoadSettingsOrDefaults(state));
        state.Settings.GetQuoteFromLocalFile = true;
        state.Settings.FnSym = state.Paths.DefaultFnSym; // as the console run does with the recorded ""
        WriteSymbols("BCU\r\nacs\r\nATB\r\nAEE\r\nACS\r\n");
    }

    void WriteSymbols(const std::string& text) { ASSERT_TRUE(ReplaceFile(state.Settings.FnSym, text)); }
    std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

    RunController& OpenRunWindow()
    {
        controller = std::make_unique<RunController>(state, host, local, local,
                                                     [this](SharedState& s, RunHost& h, std::int16_t ok) {
                                                         evaluated.push_back(s.Run.CurrentSymbol);
                                                         if (s.Run.CurrentSymbol == faulty)
                                                             throw ArithmeticFault("Division by zero");
                                                         EvaluateSymbol(s, h, ok);
                                                     });
        controller->Activate();
        return *controller;
    }

    // A new program: nothing in memory but the files.
    void Restart()
    {
        controller.reset();
        state.SymbolsLoaded = false;
        state.Run = RunStatus{};
    }

    // Pumps as the host's event loop would until the controller waits for an event.
    PumpResult PumpUntilWaiting()
    {
        for (int i = 0; i < 10000; ++i)
            if (const PumpResult result = controller->Pump(); result != PumpResult::Continue) return result;
        ADD_FAILURE() << "the controller never stopped";
        return PumpResult::Continue;
    }

    // Pumps until `count` symbols more have been evaluated (the last Pump being the one that did it).
    void PumpSymbols(std::size_t count)
    {
        const std::size_t target = evaluated.size() + count;
        for (int i = 0; i < 10000 && evaluated.size() < target; ++i)
            ASSERT_NE(controller->Pump(), PumpResult::Finished);
        ASSERT_EQ(evaluated.size(), target);
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) controller->Tick();
    }

    TemporaryDirectory directory;
    FixedClock clock;
    SharedState state;
    FakeRunHost host;
    ReplaySource replay{state, host};
    SlowSource local{replay};
    Strings evaluated;
    std::string faulty;
    std::unique_ptr<RunController> controller;
};

TEST_F(RunControllerTest, FirstPassWalksTheSortedListAtOnceAndGoAfterDoneAsksBeforeAFreshPass)
{
    OpenRunWindow();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(evaluated, AllFour);
    const Strings loading{"Reading symbols please wait...", "Sorting 5 symbols please wait...",
                          "Merging duplicate symbols, please wait..."};
    EXPECT_TRUE(std::equal(loading.begin(), loading.end(), host.status1.begin()));
    EXPECT_EQ(host.LastStatus1(), "Done");
    EXPECT_EQ(host.lamp, Lamp::Done);
    EXPECT_EQ(host.buttons, PausedButtons);
    EXPECT_EQ(state.Run.SymbolIndex, 1);
    EXPECT_EQ(controller->PassesCompleted(), 1);
    const std::string results = Read(state.Paths.FnResults);

    host.answers = {false};
    controller->CmdGo_Click();
    EXPECT_EQ(host.questions, Strings{"Go ? This will overwrite Results.txt, are you sure ?"});
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(evaluated.size(), 4u);

    host.answers = {true};
    controller->CmdGo_Click();
    PumpUntilWaiting();
    EXPECT_EQ(evaluated.size(), 8u);
    EXPECT_EQ(Read(state.Paths.FnResultsBak), results);
    EXPECT_EQ(Read(state.Paths.FnResults), results);
    EXPECT_EQ(host.status2, Strings{"Saved Results.txt to Results.bak"});
}

TEST_F(RunControllerTest, PauseShowsAtOnceButTheSymbolInHandIsFinishedAndGoResumesWithoutAsking)
{
    local.stepsToWait = 3;
    OpenRunWindow();
    PumpSymbols(1);
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting); // AEE's quotes are being fetched
    controller->CmdStop_Click();
    EXPECT_EQ(host.lamp, Lamp::Paused);
    EXPECT_EQ(host.buttons, PausedButtons);
    for (int i = 0; i < 10; ++i) controller->Pump();
    EXPECT_EQ(evaluated, (Strings{"ACS", "AEE"}));
    EXPECT_EQ(host.LastStatus1(), "Waiting for Go");

    controller->CmdGo_Click();
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(host.lamp, Lamp::Running);
    EXPECT_EQ(host.buttons, RunningButtons);
    for (int i = 0; i < 100 && evaluated.size() < 4; ++i) controller->Pump();
    EXPECT_EQ(evaluated, AllFour);
}

TEST_F(RunControllerTest, ResetAsksWithNoButtonAndOnlyYesStartsANewPassAtTheFirstSymbol)
{
    OpenRunWindow();
    PumpSymbols(3);
    controller->CmdStop_Click();
    PumpUntilWaiting();
    const std::string results = Read(state.Paths.FnResults);

    host.answers = {false};
    controller->CmdReset_Click();
    EXPECT_EQ(host.questions,
              Strings{"Reset ? This will reset the process count and overwrite Results.txt, are you sure ?"});
    EXPECT_EQ(host.lampWhenAsked, Lamp::ResetQuestion);
    EXPECT_EQ(host.buttonsWhenAsked, (FakeRunHost::Buttons{false, false, false, false}));
    EXPECT_EQ(host.lamp, Lamp::Paused);
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(evaluated.size(), 3u);

    host.answers = {true};
    controller->CmdReset_Click();
    PumpSymbols(1);
    EXPECT_EQ(evaluated.back(), "ACS");
    EXPECT_EQ(Read(state.Paths.FnResultsBak), results);
    EXPECT_EQ(host.lamp, Lamp::Running);
}

TEST_F(RunControllerTest, SavedSymbolHoldsTheRunWhileTheAlarmBeepsEveryTwelveTicks)
{
    host.alarm = true;
    OpenRunWindow();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(evaluated.back(), "ATB");
    EXPECT_EQ(host.lamp, Lamp::Alarm);
    for (int beeps = 1; beeps <= AlarmBeepCount; ++beeps) {
        Ticks(TicksPerBeep - 1);
        ASSERT_EQ(host.beeps, beeps - 1);
        Ticks(1);
        ASSERT_EQ(host.beeps, beeps);
        if (beeps < AlarmBeepCount) {
            ASSERT_EQ(controller->Pump(), PumpResult::Waiting);
        }
    }
    Ticks(100);
    EXPECT_EQ(host.beeps, AlarmBeepCount);
    PumpSymbols(1);
    EXPECT_EQ(host.lamp, Lamp::Running);
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(host.lamp, Lamp::Alarm); // BCU is saved too

    // The alarm box silences at once and the run goes on.
    Ticks(30);
    controller->CkAlarm_Click();
    Ticks(30);
    EXPECT_EQ(host.beeps, AlarmBeepCount + 2);
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(host.LastStatus1(), "Done");
}

// The position in memory names the symbol still to come, also when that is the first or the
// last one: the window reopens there with the pass's own files, without asking.
TEST_F(RunControllerTest, ClosedMidSymbolTheWindowReopensAtThatSymbol)
{
    ASSERT_TRUE(ReplaceFile(state.Paths.FnResultsBak, "last pass\r\n"));
    for (const std::size_t evaluatedBeforeClose : {0u, 1u, 3u}) {
        SCOPED_TRACE(evaluatedBeforeClose);
        (void)RemoveFile(state.Paths.FnResults);
        (void)RemoveFile(state.Paths.FnProgress);
        evaluated.clear();
        local.stepsToWait = 2;
        state.SymbolsLoaded = false;
        OpenRunWindow();
        if (evaluatedBeforeClose > 0) PumpSymbols(evaluatedBeforeClose);
        ASSERT_EQ(PumpUntilWaiting(), PumpResult::Waiting); // the next symbol in flight
        controller->Close();
        ASSERT_EQ(controller->Pump(), PumpResult::Finished);
        EXPECT_EQ(controller->Ending(), RunEnding::Closed);

        local.stepsToWait = 0;
        OpenRunWindow();
        PumpUntilWaiting();
        EXPECT_EQ(evaluated, AllFour);
        EXPECT_TRUE(host.questions.empty());
        EXPECT_EQ(Read(state.Paths.FnResultsBak), "last pass\r\n");
        EXPECT_EQ(controller->PassesCompleted(), 1);
    }
}

// What a restart makes of the progress record: a record before the list's end resumes at the
// symbol it names, keeping the pass's files; one at or past the end starts a fresh pass.
TEST_F(RunControllerTest, AfterARestartTheProgressRecordDecidesWhereThePassGoesOn)
{
    struct Row {
        std::string record;
        std::string firstEvaluated;
        bool rotated;
    };
    for (const Row& row : {Row{"2,3\r\n", "ATB", false}, Row{"0,1\r\n", "ACS", false},
                           Row{"2,4\r\n", "ACS", true}, Row{"2,5\r\n", "ACS", true}, Row{"1,0\r\n", "ACS", true}}) {
        SCOPED_TRACE(row.record);
        ASSERT_TRUE(ReplaceFile(state.Paths.FnProgress, row.record));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnResults, "old results\r\n"));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnGoodSym, "old good\r\n"));
        (void)RemoveFile(state.Paths.FnResultsBak);
        Restart();
        evaluated.clear();
        host.status2.clear();
        OpenRunWindow();
        PumpUntilWaiting();
        ASSERT_FALSE(evaluated.empty());
        EXPECT_EQ(evaluated.front(), row.firstEvaluated);
        EXPECT_EQ(FileExists(state.Paths.FnResultsBak), row.rotated);
        EXPECT_EQ(host.status2.size(), row.rotated ? 1u : 0u);
        EXPECT_EQ(Read(state.Paths.FnGoodSym).starts_with("old good"), !row.rotated);
    }
}

TEST_F(RunControllerTest, EmptyOutputFilesAreNotRotated)
{
    ASSERT_TRUE(ReplaceFile(state.Paths.FnResultsBak, "previous backup\r\n"));
    ASSERT_TRUE(ReplaceFile(state.Paths.FnResults, ""));
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(Read(state.Paths.FnResultsBak), "previous backup\r\n");
    EXPECT_TRUE(host.status2.empty());
}

TEST_F(RunControllerTest, CloseWhileLoadingAbandonsTheListAndTheNextWindowReadsItAgain)
{
    for (int stepsBeforeClose : {1, 2, 3}) {
        SCOPED_TRACE(stepsBeforeClose);
        OpenRunWindow();
        for (int i = 0; i < stepsBeforeClose; ++i) ASSERT_EQ(controller->Pump(), PumpResult::Continue);
        controller->Close();
        EXPECT_EQ(controller->Pump(), PumpResult::Finished);
        EXPECT_FALSE(state.SymbolsLoaded);
    }
    WriteSymbols("BCU\r\n");
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(evaluated, Strings{"BCU"});
}

TEST_F(RunControllerTest, FaultInOneSymbolEndsThatSymbolOnly)
{
    faulty = "AEE";
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(evaluated, AllFour);
    ASSERT_EQ(host.status2.size(), 1u);
    EXPECT_NE(host.status2[0].find("AEE"), std::string::npos);
    EXPECT_NE(host.status2[0].find("Division by zero"), std::string::npos);
    EXPECT_EQ(Read(state.Paths.FnGoodSym).find("AEE"), std::string::npos);
    EXPECT_EQ(controller->PassesCompleted(), 1);
}

TEST_F(RunControllerTest, InterestRateOutsideZeroToThreeBecomesFivePercent)
{
    for (const auto& [rate, expected] :
         std::vector<std::pair<float, float>>{{-0.01f, 0.05f}, {3.01f, 0.05f}, {NAN, 0.05f}, {0, 0}, {3, 3}}) {
        state.Settings.InterestRate = rate;
        OpenRunWindow();
        EXPECT_EQ(state.Settings.InterestRate, expected) << rate;
    }
}

} // namespace
