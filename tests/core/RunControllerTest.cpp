#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/numbers/ArithmeticFault.h"
#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/run/ProgressFile.h"
#include "core/run/RunController.h"
#include "support/FakeRunHost.h"
#include "support/TemporaryDirectory.h"

namespace {

using Strings = std::vector<std::string>;

// A quote source that needs `stepsToWait` Step() calls per symbol before its quotes are in, as
// the quote server does while a transfer runs.
class FakeSource : public QuoteSource {
public:
    explicit FakeSource(const RunStatus& run) : run_(run) {}
    bool StartPass() override
    {
        ++passStarts;
        cacheKept.push_back(run_.SymbolIndex != 1 || run_.PassResumed);
        return startsOk;
    }
    void BeginSymbol() override
    {
        begun.push_back(run_.CurrentSymbol);
        remaining_ = stepsToWait;
    }
    std::optional<std::int16_t> Step() override
    {
        if (remaining_ > 0) {
            --remaining_;
            return std::nullopt;
        }
        return static_cast<std::int16_t>(bad.count(run_.CurrentSymbol) ? 0 : 1);
    }
    void Cancel() override { ++cancels; }

    bool startsOk = true;
    int stepsToWait = 0;
    std::set<std::string> bad;
    Strings begun;
    int passStarts = 0;
    std::vector<bool> cacheKept; // per pass start: a live source would keep appending to Quote.txt
    int cancels = 0;

private:
    const RunStatus& run_;
    int remaining_ = 0;
};

// Stands in for the evaluation: the output lines and the progress record it would write.
struct FakeEvaluation {
    void Evaluate(SharedState& state, RunHost& host, std::int16_t ok)
    {
        const std::string& symbol = state.Run.CurrentSymbol;
        const FilePaths& paths = state.Paths;
        evaluated.push_back(symbol);
        if (faulty.count(symbol)) throw ArithmeticFault("Division by zero");
        (void)AppendToFile(ok ? paths.FnGoodSym : paths.FnBadSym, symbol + "\r\n");
        if (ok && saved.count(symbol)) {
            if (host.AlarmChecked()) {
                state.Run.AlarmPending = true;
                host.AnnounceSaved(symbol);
            }
            (void)AppendToFile(paths.FnSavedSym, symbol + "\r\n");
            (void)AppendToFile(paths.FnResults, "Saved block of " + symbol + "\r\n");
            ++state.Run.SavedCount;
        }
        state.Page.PageText = "Block of " + symbol;
        (void)WriteProgress(paths.FnProgress, state.Run.SavedCount, state.Run.SymbolIndex);
    }
    Strings evaluated;
    std::set<std::string> saved;
    std::set<std::string> faulty;
};

const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

class RunControllerTest : public ::testing::Test {
protected:
    RunControllerTest()
        : clock(Now), state(clock), local(state.Run), server(state.Run)
    {
        state.Paths = FilePaths::Build(directory.Path());
        state.Settings.FnSym = state.Paths.DefaultFnSym;
        state.Settings.GetQuoteFromLocalFile = true;
        state.Settings.InterestRate = 0.05f;
        WriteSymbols("DDD\r\nbbb\r\nAAA\r\nccc\r\nBBB\r\n");
    }

    void WriteSymbols(const std::string& text) { ASSERT_TRUE(ReplaceFile(state.Settings.FnSym, text)); }
    std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

    // A new run window over `shared` (by default the state of the window before, now closed).
    RunController& OpenRunWindow(SharedState* shared = nullptr)
    {
        controller = std::make_unique<RunController>(
            shared ? *shared : state, host, local, server,
            [this](SharedState& s, RunHost& h, std::int16_t ok) { evaluation.Evaluate(s, h, ok); });
        controller->Activate();
        return *controller;
    }

    // Pumps as the host's event loop would until the controller waits for an event.
    PumpResult PumpUntilWaiting()
    {
        for (int i = 0; i < 10000; ++i) {
            const PumpResult result = controller->Pump();
            if (result != PumpResult::Continue) return result;
        }
        ADD_FAILURE() << "the controller never stopped";
        return PumpResult::Continue;
    }

    // Pumps until `count` symbols more have been evaluated (the last Pump being the one that did it).
    void PumpSymbols(std::size_t count)
    {
        const std::size_t target = evaluation.evaluated.size() + count;
        for (int i = 0; i < 10000 && evaluation.evaluated.size() < target; ++i)
            ASSERT_NE(controller->Pump(), PumpResult::Finished);
        ASSERT_EQ(evaluation.evaluated.size(), target);
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) controller->Tick();
    }

    TemporaryDirectory directory;
    FixedClock clock;
    SharedState state;
    FakeRunHost host;
    FakeSource local;
    FakeSource server;
    FakeEvaluation evaluation;
    std::unique_ptr<RunController> controller;
};

const Strings AllFour{"AAA", "BBB", "CCC", "DDD"};
const FakeRunHost::Buttons PausedButtons{true, false, true, true};
const FakeRunHost::Buttons RunningButtons{false, true, false, false};

TEST_F(RunControllerTest, FirstPassStartsAtOnceWalksTheSortedListAndEndsDone)
{
    OpenRunWindow();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);

    EXPECT_EQ(evaluation.evaluated, AllFour);
    EXPECT_EQ(state.Symbols.SymbolCount, 4);
    EXPECT_TRUE(state.SymbolsLoaded);
    const Strings loading{"Reading symbols please wait...", "Sorting 5 symbols please wait...",
                          "Merging duplicate symbols, please wait..."};
    EXPECT_TRUE(std::equal(loading.begin(), loading.end(), host.status1.begin()));
    EXPECT_EQ(host.LastStatus1(), "Done");
    EXPECT_EQ(std::count(host.status1.begin(), host.status1.end(), "Waiting for Go"), 0);
    EXPECT_EQ(host.lamp, Lamp::Done);
    EXPECT_EQ(host.buttons, PausedButtons);
    EXPECT_EQ(state.Run.RunState, Waiting);
    EXPECT_EQ(state.Run.SymbolIndex, 1);
    EXPECT_EQ(state.Run.SavedCount, 0);
    EXPECT_EQ(controller->PassesCompleted(), 1);
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nBBB\r\nCCC\r\nDDD\r\n");
    EXPECT_EQ(host.block, "Block of DDD");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(server.begun.empty()); // the settings chose the quote cache
}

TEST_F(RunControllerTest, ServerSourceIsUsedWhenTheSettingsSaySo)
{
    state.Settings.GetQuoteFromLocalFile = false;
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(server.begun, AllFour);
    EXPECT_TRUE(local.begun.empty());
}

TEST_F(RunControllerTest, RepeatStartsTheNextPassAtOnceWithRotatedFiles)
{
    host.repeat = true;
    evaluation.saved = {"BBB"};
    OpenRunWindow();
    PumpSymbols(4);
    ASSERT_EQ(Read(state.Paths.FnResults), "Saved block of BBB\r\n");
    PumpSymbols(2);
    EXPECT_EQ(controller->PassesCompleted(), 1);
    EXPECT_EQ(local.passStarts, 2);
    EXPECT_EQ(Read(state.Paths.FnResultsBak), "Saved block of BBB\r\n");
    EXPECT_EQ(Read(state.Paths.FnSavedSymBak), "BBB\r\n");
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nBBB\r\n");
    EXPECT_EQ(state.Run.SavedCount, 1);
    EXPECT_EQ(host.status2, Strings{"Saved Results.txt to Results.bak"});
    EXPECT_EQ(host.lamp, Lamp::Running);
}

TEST_F(RunControllerTest, GoAfterDoneAsksAndOnlyYesStartsAFreshPass)
{
    evaluation.saved = {"AAA"};
    OpenRunWindow();
    PumpUntilWaiting();

    host.answers = {false};
    controller->CmdGo_Click();
    EXPECT_EQ(host.questions, Strings{"Go ? This will overwrite Results.txt, are you sure ?"});
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(evaluation.evaluated.size(), 4u);
    EXPECT_EQ(host.LastStatus1(), "Done");

    host.answers = {true};
    controller->CmdGo_Click();
    EXPECT_EQ(state.Run.RunState, ResetRequested);
    PumpUntilWaiting();
    EXPECT_EQ(evaluation.evaluated.size(), 8u);
    EXPECT_EQ(Read(state.Paths.FnResultsBak), "Saved block of AAA\r\n");
    EXPECT_EQ(Read(state.Paths.FnResults), "Saved block of AAA\r\n");
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nBBB\r\nCCC\r\nDDD\r\n");
}

TEST_F(RunControllerTest, PauseShowsAtOnceButTheSymbolInHandIsFinishedFirst)
{
    local.stepsToWait = 3;
    OpenRunWindow();
    PumpSymbols(1);
    // AAA is done; BBB's quotes are being fetched.
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    ASSERT_EQ(local.begun.back(), "BBB");
    controller->CmdStop_Click();
    EXPECT_EQ(host.lamp, Lamp::Paused);
    EXPECT_EQ(host.buttons, PausedButtons);
    for (int i = 0; i < 10; ++i) controller->Pump();
    EXPECT_EQ(evaluation.evaluated, (Strings{"AAA", "BBB"}));
    EXPECT_EQ(host.LastStatus1(), "Waiting for Go");
    EXPECT_EQ(state.Run.SymbolIndex, 3);

    // Go in the middle of the list resumes without a question.
    controller->CmdGo_Click();
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(host.lamp, Lamp::Running);
    EXPECT_EQ(host.buttons, RunningButtons);
    for (int i = 0; i < 100 && evaluation.evaluated.size() < 4; ++i) controller->Pump();
    EXPECT_EQ(evaluation.evaluated, AllFour);
}

TEST_F(RunControllerTest, ResetAsksWithNoButtonAndOnlyYesStartsANewPassAtTheFirstSymbol)
{
    evaluation.saved = {"AAA"};
    OpenRunWindow();
    PumpSymbols(2);
    controller->CmdStop_Click();
    PumpUntilWaiting();

    host.answers = {false};
    controller->CmdReset_Click();
    EXPECT_EQ(host.questions,
              Strings{"Reset ? This will reset the process count and overwrite Results.txt, are you sure ?"});
    EXPECT_EQ(host.lampWhenAsked, Lamp::ResetQuestion);
    EXPECT_EQ(host.buttonsWhenAsked, (FakeRunHost::Buttons{false, false, false, false}));
    EXPECT_EQ(host.lamp, Lamp::Paused);
    EXPECT_EQ(host.buttons, PausedButtons);
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(state.Run.SymbolIndex, 3);
    EXPECT_EQ(evaluation.evaluated.size(), 2u);

    host.answers = {true};
    controller->CmdReset_Click();
    EXPECT_EQ(state.Run.RunState, ResetRequested);
    PumpSymbols(1);
    EXPECT_EQ(evaluation.evaluated, (Strings{"AAA", "BBB", "AAA"}));
    EXPECT_EQ(Read(state.Paths.FnResultsBak), "Saved block of AAA\r\n");
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\n");
    EXPECT_EQ(host.lamp, Lamp::Running);
}

TEST_F(RunControllerTest, SavedSymbolHoldsTheRunWhileTheAlarmBeeps)
{
    host.alarm = true;
    evaluation.saved = {"BBB"};
    OpenRunWindow();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(evaluation.evaluated, (Strings{"AAA", "BBB"}));
    EXPECT_EQ(state.Run.AlarmBeeps, 60);
    EXPECT_FALSE(state.Run.AlarmPending);
    EXPECT_EQ(host.lamp, Lamp::Alarm);

    // One beep every 12 ticks (1.2 s); the run stays held between them.
    Ticks(11);
    EXPECT_EQ(host.beeps, 0);
    Ticks(1);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(state.Run.AlarmBeeps, 59);
    EXPECT_EQ(controller->Pump(), PumpResult::Waiting);
    Ticks(59 * 12 - 1);
    EXPECT_EQ(host.beeps, 59);
    EXPECT_EQ(controller->Pump(), PumpResult::Waiting);
    Ticks(1);
    EXPECT_EQ(host.beeps, 60);
    Ticks(100);
    EXPECT_EQ(host.beeps, 60);
    EXPECT_EQ(host.lamp, Lamp::Alarm);
    PumpSymbols(1);
    EXPECT_EQ(host.lamp, Lamp::Running);
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(evaluation.evaluated, AllFour);
}

TEST_F(RunControllerTest, AlarmBoxClickSilencesAndTheRunGoesOn)
{
    host.alarm = true;
    evaluation.saved = {"AAA"};
    OpenRunWindow();
    PumpUntilWaiting();
    Ticks(30);
    controller->CkAlarm_Click();
    EXPECT_EQ(state.Run.AlarmBeeps, 0);
    PumpUntilWaiting();
    EXPECT_EQ(evaluation.evaluated, AllFour);
    EXPECT_EQ(host.beeps, 2);
}

TEST_F(RunControllerTest, PauseDuringTheAlarmSilencesItAndPausesBeforeTheNextSymbol)
{
    host.alarm = true;
    evaluation.saved = {"AAA"};
    OpenRunWindow();
    PumpUntilWaiting();
    controller->CmdStop_Click();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(host.lamp, Lamp::Paused);
    EXPECT_EQ(evaluation.evaluated, Strings{"AAA"});
    EXPECT_EQ(host.LastStatus1(), "Waiting for Go");
    EXPECT_EQ(state.Run.SymbolIndex, 2);
}

TEST_F(RunControllerTest, WithoutTheHoldASavedSymbolBeepsOnceAndTheRunGoesOn)
{
    host.alarm = true;
    evaluation.saved = {"AAA", "CCC"};
    OpenRunWindow();
    controller->SetHoldOnAlarm(false);
    PumpUntilWaiting();
    EXPECT_EQ(evaluation.evaluated, AllFour);
    EXPECT_EQ(host.beeps, 2);
    EXPECT_EQ(state.Run.AlarmBeeps, 0);
}

TEST_F(RunControllerTest, ClosedMidRunTheWindowReopensAtTheSameSymbolWithoutAsking)
{
    local.stepsToWait = 2;
    OpenRunWindow();
    PumpSymbols(1);
    ASSERT_EQ(PumpUntilWaiting(), PumpResult::Waiting); // BBB in flight
    controller->Close();
    EXPECT_EQ(local.cancels, 1);
    EXPECT_EQ(controller->Pump(), PumpResult::Finished);
    EXPECT_EQ(controller->Ending(), RunEnding::Closed);
    EXPECT_EQ(evaluation.evaluated, Strings{"AAA"}); // the symbol in flight is abandoned

    // The list stays loaded: the file is not read again, and the run goes on at BBB.
    ASSERT_TRUE(RemoveFile(state.Settings.FnSym));
    local.stepsToWait = 0;
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(evaluation.evaluated, AllFour);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nBBB\r\nCCC\r\nDDD\r\n");
}

// The position in memory names the symbol still to come, also when that is the first or the
// last one: the pass goes on with its own files and the last complete pass keeps its backups.
TEST_F(RunControllerTest, ClosedAtTheFirstOrLastSymbolTheWindowReopensThere)
{
    for (const std::size_t evaluatedBeforeClose : {0u, 3u}) {
        SCOPED_TRACE(evaluatedBeforeClose);
        (void)RemoveFile(state.Paths.FnResults);
        (void)RemoveFile(state.Paths.FnProgress);
        ASSERT_TRUE(ReplaceFile(state.Paths.FnResultsBak, "last pass\r\n"));
        evaluation = FakeEvaluation{};
        evaluation.saved = {"AAA", "BBB", "CCC", "DDD"};
        local.cacheKept.clear();
        local.stepsToWait = 2;
        state.SymbolsLoaded = false;
        OpenRunWindow();
        if (evaluatedBeforeClose > 0) PumpSymbols(evaluatedBeforeClose);
        ASSERT_EQ(PumpUntilWaiting(), PumpResult::Waiting); // the next symbol in flight
        controller->Close();
        ASSERT_EQ(controller->Pump(), PumpResult::Finished);

        local.stepsToWait = 0;
        OpenRunWindow();
        PumpUntilWaiting();
        EXPECT_EQ(evaluation.evaluated, AllFour);
        EXPECT_EQ(local.cacheKept, (std::vector<bool>{false, true}));
        EXPECT_EQ(Read(state.Paths.FnResultsBak), "last pass\r\n");
        EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nBBB\r\nCCC\r\nDDD\r\n");
        EXPECT_EQ(controller->PassesCompleted(), 1);
        EXPECT_EQ(host.LastStatus1(), "Done");
    }
}

TEST_F(RunControllerTest, AfterARestartTheRunResumesAtTheLastEvaluatedSymbol)
{
    evaluation.saved = {"AAA", "BBB"};
    OpenRunWindow();
    PumpSymbols(2);
    ASSERT_EQ(Read(state.Paths.FnProgress), "2,2\r\n");
    controller->Close();
    controller->Pump();

    // A new program: nothing in memory but the files.
    SharedState restarted(clock);
    restarted.Paths = state.Paths;
    restarted.Settings = state.Settings;
    OpenRunWindow(&restarted);
    PumpUntilWaiting();
    EXPECT_EQ(evaluation.evaluated, (Strings{"AAA", "BBB", "BBB", "CCC", "DDD"}));
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nBBB\r\nBBB\r\nCCC\r\nDDD\r\n");
    EXPECT_EQ(host.status2, Strings{}); // nothing rotated
}

TEST_F(RunControllerTest, ProgressAtOrBeyondTheListEndStartsAFreshPassAndRotates)
{
    for (const std::string record : {"3,4\r\n", "3,5\r\n", "1,0\r\n"}) {
        SCOPED_TRACE(record);
        ASSERT_TRUE(ReplaceFile(state.Paths.FnProgress, record));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnResults, "old results\r\n"));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnSavedSym, "old saved\r\n"));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnGoodSym, "old good\r\n"));
        ASSERT_TRUE(ReplaceFile(state.Paths.FnBadSym, "old bad\r\n"));
        state.SymbolsLoaded = false;
        evaluation.evaluated.clear();
        host.status2.clear();
        OpenRunWindow();
        const int passStarts = local.passStarts;
        for (int i = 0; i < 100 && local.passStarts == passStarts; ++i) controller->Pump();
        EXPECT_EQ(state.Run.SymbolIndex, 1);
        EXPECT_EQ(state.Run.SavedCount, 0);
        EXPECT_EQ(Read(state.Paths.FnResultsBak), "old results\r\n");
        EXPECT_EQ(Read(state.Paths.FnSavedSymBak), "old saved\r\n");
        EXPECT_FALSE(FileExists(state.Paths.FnResults));
        EXPECT_FALSE(FileExists(state.Paths.FnGoodSym));
        EXPECT_FALSE(FileExists(state.Paths.FnBadSym));
        EXPECT_EQ(host.status2, Strings{"Saved Results.txt to Results.bak"});
        // A restart from here resumes this pass rather than rotating again.
        EXPECT_EQ(Read(state.Paths.FnProgress), "0,1\r\n");
        PumpUntilWaiting();
        EXPECT_EQ(evaluation.evaluated, AllFour);
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

TEST_F(RunControllerTest, RestartWithARecordOfTheFirstSymbolKeepsThatPassesFiles)
{
    // The pass had rotated the files and saved its first symbol when the program was killed.
    ASSERT_TRUE(ReplaceFile(state.Paths.FnResultsBak, "last pass\r\n"));
    ASSERT_TRUE(ReplaceFile(state.Paths.FnResults, "Saved block of AAA\r\n"));
    ASSERT_TRUE(ReplaceFile(state.Paths.FnGoodSym, "AAA\r\n"));
    ASSERT_TRUE(ReplaceFile(state.Paths.FnProgress, "1,1\r\n"));
    evaluation.saved = {"AAA"};
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(Read(state.Paths.FnResultsBak), "last pass\r\n");
    EXPECT_EQ(Read(state.Paths.FnResults), "Saved block of AAA\r\nSaved block of AAA\r\n");
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nAAA\r\nBBB\r\nCCC\r\nDDD\r\n");
    EXPECT_EQ(state.Run.RunState, Waiting);
    EXPECT_EQ(host.LastStatus1(), "Done");
}

TEST_F(RunControllerTest, UnwritableResultsStopTheActivationAndTheWindowIdles)
{
    std::filesystem::create_directory(state.Paths.FnResults); // cannot be opened for appending
    OpenRunWindow();
    EXPECT_EQ(host.messages, Strings{"Cannot open FnResults for append, process stopped."});
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Waiting);
    EXPECT_EQ(controller->Ending(), RunEnding::ResultsNotWritable);
    EXPECT_FALSE(state.SymbolsLoaded);
    EXPECT_TRUE(evaluation.evaluated.empty());
    controller->Close();
    EXPECT_EQ(controller->Pump(), PumpResult::Finished);
    EXPECT_EQ(controller->Ending(), RunEnding::ResultsNotWritable);
}

TEST_F(RunControllerTest, UnusableSymbolFileEndsTheRunWithItsMessage)
{
    const std::string fnSym = state.Settings.FnSym;
    ASSERT_TRUE(RemoveFile(fnSym));
    OpenRunWindow();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Finished);
    EXPECT_EQ(controller->Ending(), RunEnding::SymbolFileUnusable);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Cannot open " + fnSym + " for input.\r\n"
                                "Please use File menu - Choose Symbol File to select another file.");

    WriteSymbols(" blank\r\n.dot\r\n");
    OpenRunWindow();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Finished);
    EXPECT_EQ(controller->Ending(), RunEnding::SymbolFileUnusable);
    EXPECT_EQ(host.messages.back(), fnSym + " contains no symbols, process stopped.\r\n"
                                            "Please use File menu - Choose Symbol File to select another file.");
    EXPECT_FALSE(state.SymbolsLoaded);
    EXPECT_TRUE(evaluation.evaluated.empty());
}

TEST_F(RunControllerTest, CloseWhileLoadingAbandonsTheListAndTheNextWindowReadsItAgain)
{
    for (int stepsBeforeClose : {1, 2, 3}) {
        SCOPED_TRACE(stepsBeforeClose);
        state.SymbolsLoaded = false;
        OpenRunWindow();
        for (int i = 0; i < stepsBeforeClose; ++i) ASSERT_EQ(controller->Pump(), PumpResult::Continue);
        controller->Close();
        EXPECT_EQ(controller->Pump(), PumpResult::Finished);
        EXPECT_EQ(controller->Ending(), RunEnding::Closed);
        EXPECT_FALSE(state.SymbolsLoaded);
    }
    WriteSymbols("ZZZ\r\n");
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(evaluation.evaluated, Strings{"ZZZ"});
}

TEST_F(RunControllerTest, UnavailableSourceEndsTheRun)
{
    local.startsOk = false;
    OpenRunWindow();
    EXPECT_EQ(PumpUntilWaiting(), PumpResult::Finished);
    EXPECT_EQ(controller->Ending(), RunEnding::SourceUnavailable);
    EXPECT_TRUE(evaluation.evaluated.empty());
}

TEST_F(RunControllerTest, FaultInOneSymbolEndsThatSymbolOnly)
{
    evaluation.faulty = {"BBB"};
    OpenRunWindow();
    PumpUntilWaiting();
    EXPECT_EQ(evaluation.evaluated, AllFour);
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "AAA\r\nCCC\r\nDDD\r\n");
    ASSERT_EQ(host.status2.size(), 1u);
    EXPECT_NE(host.status2[0].find("BBB"), std::string::npos);
    EXPECT_NE(host.status2[0].find("Division by zero"), std::string::npos);
    EXPECT_EQ(controller->PassesCompleted(), 1);
}

TEST_F(RunControllerTest, InterestRateOutsideZeroToThreeBecomesFivePercent)
{
    const std::vector<std::pair<float, float>> cases{
        {-0.01f, 0.05f}, {3.01f, 0.05f}, {NAN, 0.05f}, {0.0f, 0.0f}, {3.0f, 3.0f}};
    for (const auto& [rate, expected] : cases) {
        state.SymbolsLoaded = false;
        state.Settings.InterestRate = rate;
        OpenRunWindow();
        EXPECT_EQ(state.Settings.InterestRate, expected) << rate;
    }
}

} // namespace
