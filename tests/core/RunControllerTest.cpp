// The run window's logic driven as the window drives it, over the recorded quote cache and the real
// evaluation: what a click, a tick, a close or a restart does to the pass and its files. The scenes
// are the scripts of cases/scripts/run-controller.txt.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "core/numbers/ArithmeticFault.h"
#include "core/numbers/NumberText.h"
#include "core/run/Evaluation.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunController.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "support/LoggingRunHost.h"
#include "support/Transcript.h"

namespace {

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

class RunScene : public DirectoryScene {
public:
    RunScene() : clock(LocalDateTime{2026, 3, 9, 15, 30, 0}), state(clock)
    {
        PrepareSharedState(state, directory.Path());
        for (const char* name : {"Quote.txt", "Quillon.---"})
            std::filesystem::copy_file(std::string(QUILLON_TEST_DATA "/replay/") + name, directory.File(name));
        EXPECT_TRUE(LoadSettingsOrDefaults(state));
        state.Settings.GetQuoteFromLocalFile = true;
        state.Settings.FnSym = state.Paths.DefaultFnSym; // as the console run does with the recorded ""
        EXPECT_TRUE(ReplaceFile(state.Settings.FnSym, "BCU\r\nacs\r\nATB\r\nAEE\r\nACS\r\n"));
    }

    void Do(const std::string& verb, const std::string& arguments)
    {
        Act(verb, arguments);
        for (std::string& line : log) line = Relative(line);
    }

private:
    void Act(const std::string& verb, const std::string& arguments)
    {
        std::istringstream words(arguments);
        std::string word;
        int count = 0;
        if (verb == "open") { // the run window opens
            controller = std::make_unique<RunController>(state, host, local, local,
                                                         [this](SharedState& s, RunHost& h, std::int16_t ok) {
                                                             log.push_back("evaluated " + s.Run.CurrentSymbol);
                                                             ++evaluated;
                                                             if (s.Run.CurrentSymbol == faulty)
                                                                 throw ArithmeticFault("Division by zero");
                                                             EvaluateSymbol(s, h, ok);
                                                         });
            controller->Activate();
        } else if (verb == "pump") { // as the event loop would, until the controller waits, or N times
            if (words >> count)
                for (int i = 0; i < count; ++i) Log(controller->Pump());
            else
                PumpUntilWaiting();
        } else if (verb == "pump-symbols") { // until N symbols more are evaluated
            words >> count;
            for (int i = 0, target = evaluated + count; evaluated < target; ++i)
                if (i == 10000 || controller->Pump() == PumpResult::Finished) return ADD_FAILURE() << "stopped";
        } else if (verb == "ticks") {
            words >> count;
            for (int i = 0; i < count; ++i) controller->Tick();
        } else if (verb == "go") {
            controller->CmdGo_Click();
        } else if (verb == "pause") {
            controller->CmdStop_Click();
        } else if (verb == "reset") {
            controller->CmdReset_Click();
        } else if (verb == "alarm-box") {
            controller->CkAlarm_Click();
        } else if (verb == "close") {
            controller->Close();
        } else if (verb == "restart") { // a new program: nothing in memory but the files
            controller.reset();
            state.SymbolsLoaded = false;
            state.Run = RunStatus{};
        } else if (verb == "answer") { // the next question's answer
            words >> word;
            host.answers.push_back(word == "yes");
        } else if (verb == "alarm") {
            host.alarm = true;
        } else if (verb == "slow") { // Step() calls per symbol
            words >> local.stepsToWait;
        } else if (verb == "faulty") {
            words >> faulty;
        } else if (verb == "rate") {
            state.Settings.InterestRate = std::stof(arguments);
        } else if (verb == "show") {
            Show(arguments);
        } else if (verb == "file-limit") { // BYTES, 0 for none: a disk that fills up
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = std::stoul(arguments) == 0 ? limit.rlim_max : std::stoul(arguments);
            ::setrlimit(RLIMIT_FSIZE, &limit);
        } else if (!DoInDirectory(verb, arguments)) {
            ADD_FAILURE() << "no action " << verb;
        }
    }

    void Log(PumpResult result)
    {
        if (result != PumpResult::Continue) log.push_back(result == PumpResult::Waiting ? "waiting" : "finished");
    }

    void PumpUntilWaiting()
    {
        for (int i = 0; i < 10000; ++i)
            if (const PumpResult result = controller->Pump(); result != PumpResult::Continue) return Log(result);
        ADD_FAILURE() << "the controller never stopped";
    }

    void Show(const std::string& what)
    {
        if (what == "run") {
            log.push_back("passes " + std::to_string(controller->PassesCompleted()) + ", at symbol " +
                          std::to_string(state.Run.SymbolIndex) + ", " +
                          (controller->Ending() == RunEnding::Closed ? "closed" : "open") + ", list " +
                          (state.SymbolsLoaded ? "loaded" : "not loaded") + ", rate " +
                          FormatSingle(state.Settings.InterestRate));
        } else {
            ShowFile(what);
        }
    }

    FixedClock clock;
    SharedState state;
    LoggingRunHost host{log};
    ReplaySource replay{state, host};
    SlowSource local{replay};
    std::string faulty;
    int evaluated = 0;
    std::unique_ptr<RunController> controller;
};

TEST(RunController, PlaysItsScripts) { PlayScripts<RunScene>("run-controller.txt"); }

} // namespace
