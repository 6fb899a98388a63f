// The work a live run does per stock page once it has arrived: strip the markup, then parse the
// figures and append the stock record (here to /dev/null, so the disk does not take part).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/text/TextFile.h"
#include "core/quotes/PageScanner.h"
#include "core/quotes/QuoteRecord.h"

namespace {

constexpr std::size_t PageSize = 30 * 1024;

// The sample quote page, upper-cased as the retrieval does it, with a market news table in front
// of the quote until it is about 30 KB: labels are searched through all of that.
std::string ThirtyKilobytePage()
{
    auto markup = ReadWholeFile(std::string(QUILLON_SOURCE_DIR) + "/tests/data/pages/stock-acme.html");
    if (!markup) std::abort();
    std::string news = "<table>";
    for (int row = 0; news.size() + markup->size() < PageSize; ++row)
        news += "<tr><td><a href=\"/news?id=" + std::to_string(row) +
                "\">Markets close higher as tool makers rally</a></td><td>Dec 7</td></tr>\n";
    news += "</table>";
    markup->insert(markup->find("<table"), news);
    std::transform(markup->begin(), markup->end(), markup->begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return *markup;
}

void StripAndParseStockPage(benchmark::State& state)
{
    const std::string markup = ThirtyKilobytePage();
    const LocalDateTime now{2026, 12, 7, 12, 0, 0};
    QuoteData quote;
    for (auto _ : state) {
        PageBuffer page;
        page.PageText = StripHtmlTags(markup);
        const bool usable = ParseStockPage(page, quote, "ACME", "/dev/null", now);
        benchmark::DoNotOptimize(usable);
    }
    if (quote.Stock.LastSale != 47.5f) state.SkipWithError("the page did not parse");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * markup.size()));
    state.counters["page_bytes"] = static_cast<double>(markup.size());
}

} // namespace

BENCHMARK(StripAndParseStockPage)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
