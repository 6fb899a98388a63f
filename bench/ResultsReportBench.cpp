#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "support/ExampleQuote.h" // the saved symbol of the report tests
#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/report/DisplayPattern.h"
#include "core/report/ResultsBlock.h"
#include "core/report/ResultsPrinting.h"

namespace {

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
    FillExample(state);
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
    FillExample(state);
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
