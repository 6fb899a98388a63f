// The history store over 30000 generated symbols: importing their quote cache into an empty store
// (target: under 2 s), and a replay pass that looks up every symbol's IV rank and percentile in a
// store of 21 days against the same pass without (target: under 10 % more).

#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

#include "support/QuoteCacheGenerator.h"
#include "support/SilentRunHost.h"
#include "core/SharedState.h"
#include "core/history/HistoryRecorder.h"
#include "core/history/QuoteCacheImport.h"
#include "core/run/Evaluation.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunController.h"
#include "core/settings/SettingsFile.h"

namespace {

constexpr int SymbolCount = 30000;
constexpr int StoredDays = 21;
const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

const FilePaths& CachePaths()
{
    static const FilePaths paths = [] {
        const std::string path = QUILLON_BINARY_DIR "/bench/history";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        quote_cache_generator::GenerateQuoteCache(path, SymbolCount, Now);
        return FilePaths::Build(path);
    }();
    return paths;
}

UserSettings CacheSettings()
{
    UserSettings settings;
    if (!ReadSettings(settings, CachePaths().FnSettings)) std::abort();
    return settings;
}

void RemoveStore(const std::string& path)
{
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

void ImportIntoEmptyStore(benchmark::State& benchState)
{
    const FilePaths& paths = CachePaths();
    const UserSettings settings = CacheSettings();
    for (auto _ : benchState) {
        benchState.PauseTiming();
        RemoveStore(paths.FnHistory);
        benchState.ResumeTiming();
        HistoryStore store;
        if (store.Open(paths.FnHistory)) std::abort();
        const CacheImport import = ImportQuoteCache(paths.FnQuote, "2026-03-08", settings, store);
        if (import.Failure || import.Symbols == 0) std::abort();
    }
    benchState.SetItemsProcessed(benchState.iterations() * SymbolCount);
}

// The imported day copied to the days before it, each a little higher, so that each symbol has
// StoredDays days to rank against (their options do not count for ranking). Copied as a program of
// layout 1 would have stored them, and then opened, so that each symbol's year is summarized from
// its days as when a store of that layout is first opened.
void FillHistory(const FilePaths& paths)
{
    RemoveStore(paths.FnHistory);
    HistoryStore store;
    if (store.Open(paths.FnHistory)) std::abort();
    if (ImportQuoteCache(paths.FnQuote, "2026-03-08", CacheSettings(), store).Failure) std::abort();
    store.Close();
    sqlite3* db = nullptr;
    if (sqlite3_open(paths.FnHistory.c_str(), &db) != SQLITE_OK) std::abort();
    for (int back = 1; back < StoredDays; ++back) {
        const std::string sql = "INSERT INTO days SELECT symbol, date(date, '-" + std::to_string(back) +
                                " days'), last_sale, qvac * " + std::to_string(1 + back / 100.0) + ", qvap FROM days"
                                " WHERE date = '2026-03-08'";
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
    }
    if (sqlite3_exec(db, "DROP TABLE year_volatilities; PRAGMA user_version=1", nullptr, nullptr, nullptr) != SQLITE_OK)
        std::abort();
    sqlite3_close(db);
    if (store.Open(paths.FnHistory)) std::abort();
}

void ReplayPass(benchmark::State& benchState)
{
    const bool ranked = benchState.range(0) != 0;
    const FilePaths& paths = CachePaths();
    static const bool filled = (FillHistory(paths), true);
    (void)filled;
    FixedClock clock(Now);
    SharedState state(clock);
    state.Paths = paths;
    state.Settings = CacheSettings();
    state.Settings.GetQuoteFromLocalFile = true;
    SilentRunHost host;
    ReplaySource replay(state, host);
    for (auto _ : benchState) {
        // A recorder of its own for every pass, as every CLI replay has: the year is read each time.
        HistoryRecorder recorder;
        const SymbolEvaluator evaluate = ranked ? RecordingHistory(recorder) : SymbolEvaluator(EvaluateSymbol);
        RemoveFile(state.Paths.FnProgress); // every pass from the first symbol
        state.SymbolsLoaded = false;
        RunController controller(state, host, replay, replay, evaluate);
        controller.Activate();
        while (controller.Pump() == PumpResult::Continue) {}
        if (controller.PassesCompleted() != 1) std::abort();
    }
    benchState.SetItemsProcessed(benchState.iterations() * SymbolCount);
}

} // namespace

BENCHMARK(ImportIntoEmptyStore)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
// Without and with the rank lookups, alternately measured over the same cache and store.
BENCHMARK(ReplayPass)->ArgName("ranked")->Arg(0)->Arg(1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
