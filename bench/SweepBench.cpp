// `quillon-cli sweep` over 30000 generated symbols with 10 values: the cache read once, then the
// screen run eleven times (the current value and the ten). Target: under 3 s.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "support/QuoteCacheGenerator.h"
#include "core/insight/Sweep.h"
#include "core/settings/SettingsFile.h"

namespace {

constexpr int SymbolCount = 30000;
const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

const FilePaths& CachePaths()
{
    static const FilePaths paths = [] {
        const std::string path = QUILLON_BINARY_DIR "/bench/sweep";
        std::filesystem::create_directories(path);
        quote_cache_generator::GenerateQuoteCache(path, SymbolCount, Now);
        return FilePaths::Build(path);
    }();
    return paths;
}

void Sweep(benchmark::State& benchState, const char* criterion, const char* values)
{
    const FilePaths& paths = CachePaths();
    UserSettings settings;
    if (!ReadSettings(settings, paths.FnSettings)) std::abort();
    const std::vector<Criterion> swept = *ParseSweepValues(values);
    for (auto _ : benchState) {
        std::string problem;
        std::optional<QuoteSnapshot> snapshot = ReadQuoteSnapshot(settings.FnSym, paths.FnQuote, Now, problem);
        if (!snapshot) std::abort();
        const auto rows = SweepCriterion(*snapshot, settings, *FindCriterion(criterion), swept);
        benchmark::DoNotOptimize(rows);
    }
}

} // namespace

BENCHMARK_CAPTURE(Sweep, StockCriterion, "MinQVAC_QVAP", "1:10:1")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(Sweep, OptionCriterion, "MinOptInt", "0:900:100")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
