// A replay pass over 30000 generated symbols through the run controller, with the real replay
// source and evaluation, as `quillon-cli run --source local` does it minus the console.
// Targets: at least 5000 symbols per second, peak memory below 50 MB.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>

#include "support/QuoteCacheGenerator.h"
#include "core/settings/SettingsFile.h"
#include "core/SharedState.h"
#include "core/run/Evaluation.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunController.h"

namespace {

constexpr int SymbolCount = 30000;
const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

class SilentHost final : public RunHost {
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

const std::string& CacheDirectory()
{
    static const std::string directory = [] {
        const std::string path = QUILLON_BINARY_DIR "/bench/replay-pass";
        std::filesystem::create_directories(path);
        quote_cache_generator::GenerateQuoteCache(path, SymbolCount, Now);
        return path;
    }();
    return directory;
}

long PeakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void ReplayPass(benchmark::State& benchState)
{
    const std::string& directory = CacheDirectory();
    FixedClock clock(Now);
    SharedState state(clock);
    state.Paths = FilePaths::Build(directory);
    if (!ReadSettings(state.Settings, state.Paths.FnSettings)) std::abort();
    SilentHost host;
    ReplaySource replay(state, host);
    std::int64_t symbols = 0;
    for (auto _ : benchState) {
        RemoveFile(state.Paths.FnProgress); // every pass from the first symbol
        state.SymbolsLoaded = false;
        RunController controller(state, host, replay, replay, EvaluateSymbol);
        controller.Activate();
        while (controller.Pump() == PumpResult::Continue) {}
        if (controller.PassesCompleted() != 1) std::abort();
        symbols += state.Symbols.SymbolCount;
    }
    benchState.SetItemsProcessed(symbols);
    benchState.counters["symbols_per_second"] = benchmark::Counter(static_cast<double>(symbols), benchmark::Counter::kIsRate);
    benchState.counters["peak_rss_MB"] = static_cast<double>(PeakResidentKilobytes()) / 1024.0;
}

} // namespace

BENCHMARK(ReplayPass)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
