// A replay pass over generated symbols through the run controller, with the real replay source and
// evaluation, as the run window does it (every block built), in a program directory on the
// project's own disk and in one on /dev/shm, measured in the same run.
// Targets: 30000 symbols on the disk at 30000 symbols per second or more, peak memory below 30 MB;
// the disk at 80 % of tmpfs or better; 3000 and 30000 symbols within 20 % per symbol.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>

#include "support/QuoteCacheGenerator.h"
#include "support/SilentRunHost.h"
#include "core/settings/SettingsFile.h"
#include "core/SharedState.h"
#include "core/run/Evaluation.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunController.h"

namespace {

const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

enum Place { Disk, Tmpfs };

// One program directory per place and size, generated once per benchmark run.
std::string CacheDirectory(Place place, int symbolCount)
{
    const std::string parent = place == Disk ? QUILLON_BINARY_DIR "/bench" : "/dev/shm";
    const std::string path = parent + "/quillon-replay-pass-" + std::to_string(symbolCount);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    quote_cache_generator::GenerateQuoteCache(path, symbolCount, Now);
    return path;
}

long PeakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void ReplayPass(benchmark::State& benchState)
{
    const auto place = static_cast<Place>(benchState.range(0));
    const std::string directory = CacheDirectory(place, static_cast<int>(benchState.range(1)));
    FixedClock clock(Now);
    SharedState state(clock);
    state.Paths = FilePaths::Build(directory);
    if (!ReadSettings(state.Settings, state.Paths.FnSettings)) std::abort();
    SilentRunHost host;
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
    if (place == Tmpfs) std::filesystem::remove_all(directory); // memory of the machine, not disk
}

} // namespace

// Arguments: place, symbols. The largest disk pass first, so that its peak memory is its own.
BENCHMARK(ReplayPass)
    ->ArgNames({"tmpfs", "symbols"})
    ->Args({Disk, 30000})
    ->Args({Tmpfs, 30000})
    ->Args({Disk, 3000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
