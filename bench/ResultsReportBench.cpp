#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "app/SharedState.h"
#include "app/TextFile.h"
#include "quotes/OptionCalendar.h"
#include "report/DisplayPattern.h"
#include "report/ResultsBlock.h"
#include "report/ResultsPrinting.h"

namespace {

// A $47.30 stock with every shown option quoted, as after an evaluation that saved it.
void FillSavedSymbol(SharedState& state)
{
    state.Run.CurrentSymbol = "QLN";
    state.Symbols.SymbolCount = 3000;
    state.Settings.InterestRate = 0.05f;
    StockQuote& stock = state.Quote.Stock;
    stock.OptionRoot = "QLN";
    stock.CompanyName = "QUILLON LABORATORIES";
    stock.LastSale = 47.3f;
    stock.SharesOutstanding = 212500000.0;
    stock.PriceEarnings = 18.25f;
    state.Quote.Calendar = BuildExpirationCalendar({2026, 3, 2, 14, 30, 0});
    state.Quote.Strikes = SelectStrikes(stock.LastSale);
    OptionSeries& series = state.Quote.Series;
    for (int side : {Calls, Puts})
        for (int s = 1; s <= 3; ++s)
            for (int e = 0; e < 2; ++e) {
                series.OptLast[side][s][e] = 1.5f + static_cast<float>(s);
                series.OptBid[side][s][e] = 1.375f + static_cast<float>(s);
                series.OptAsk[side][s][e] = 1.625f + static_cast<float>(s);
                series.OptVolume[side][s][e] = 120;
                series.OptOpenInterest[side][s][e] = 900;
                series.OptQVA[side][s][e] = 0.3125f;
                series.OptNote[side][s][e] = 1;
            }
    state.Quote.QVA.QVAAverage = {0.3125f, 0.2875f};
    state.Quote.QVA.WeightVolume = {720, 720};
    state.Quote.QVA.WeightOpenInterest = {5400, 5400};
}

class NullPrinter final : public Printer {
public:
    void SetFont(const std::string&, int, bool) override {}
    void PrintText(const std::string& text, bool) override { benchmark::DoNotOptimize(text.data()); }
    void NewPage() override {}
    void EndDoc() override {}
};

void BM_BuildResultsBlock(benchmark::State& run)
{
    FixedClock clock{LocalDateTime{2026, 3, 2, 14, 30, 0}};
    SharedState state{clock};
    FillSavedSymbol(state);
    for (auto _ : run) benchmark::DoNotOptimize(BuildResultsBlock(state));
}
BENCHMARK(BM_BuildResultsBlock);

void BM_FormatPattern(benchmark::State& run)
{
    float value = 0.0625f;
    for (auto _ : run) {
        benchmark::DoNotOptimize(FormatPattern(value, " #0.0##; n/a"));
        value += 0.001f;
    }
}
BENCHMARK(BM_FormatPattern);

// Printing the results report of a pass that saved 1000 symbols.
void BM_PrintResults(benchmark::State& run)
{
    FixedClock clock{LocalDateTime{2026, 3, 2, 14, 30, 0}};
    SharedState state{clock};
    FillSavedSymbol(state);
    const std::string directory = std::filesystem::temp_directory_path() / "quillon-bench-print";
    std::filesystem::create_directories(directory);
    const FilePaths paths = FilePaths::Build(directory);
    const std::string page = BuildResultsBlock(state) + "\f\r\n";
    std::string results;
    for (int i = 0; i < 1000; ++i) results += page;
    if (!ReplaceFile(paths.FnResults, results) || !ReplaceFile(paths.FnProgress, "1000,1\r\n")) {
        run.SkipWithError("cannot write the report");
        return;
    }
    NullPrinter printer;
    std::int16_t savedCount = 0;
    for (auto _ : run) benchmark::DoNotOptimize(PrintResults(paths, savedCount, printer, clock));
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations()) * static_cast<std::int64_t>(results.size()));
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_PrintResults)->Unit(benchmark::kMillisecond);

} // namespace
