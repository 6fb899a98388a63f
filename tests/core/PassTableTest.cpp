// The pass table across an interrupted replay pass over a generated quote cache. What a whole pass
// writes into it is the replay cases' (cases/cli/replay-one-pass).

#include <gtest/gtest.h>

#include <algorithm>

#include "support/QuoteCacheGenerator.h"
#include "support/SilentRunHost.h"
#include "support/TemporaryDirectory.h"
#include "core/insight/CsvText.h"
#include "core/insight/PassTable.h"
#include "core/run/Evaluation.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunController.h"

namespace {

constexpr int SymbolCount = 300;
const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

class CountingHost final : public SilentRunHost {
public:
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
    void SymbolDone(const std::string&, SymbolOutcome, const std::string&) override { ++evaluated; }
    int evaluated = 0;
};

// A replay pass from wherever the progress record says, ended after `symbols` evaluated ones.
void ReplayPass(const std::string& directory, int symbols)
{
    FixedClock clock(Now);
    SharedState state(clock);
    state.Paths = FilePaths::Build(directory);
    (void)ReadSettings(state.Settings, state.Paths.FnSettings);
    CountingHost host;
    ReplaySource replay(state, host);
    RunController controller(state, host, replay, replay, EvaluateSymbol);
    controller.Activate();
    while (host.evaluated < symbols && controller.Pump() == PumpResult::Continue) {}
    controller.Close();
}

} // namespace

TEST(PassTable, AnInterruptedPassKeepsOneRowPerSymbolWhenResumed)
{
    const TemporaryDirectory dir;
    const auto market = quote_cache_generator::GenerateQuoteCache(dir.Path(), SymbolCount, Now);
    for (const int symbols : {SymbolCount / 3, SymbolCount / 2, SymbolCount}) ReplayPass(dir.Path(), symbols);

    const std::vector<CsvRow> rows = ReadCsv(ReadWholeFile(FilePaths::Build(dir.Path()).FnPassTable).value_or(""));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(CsvLine(rows.front()), PassHeaderLine());
    const auto& columns = PassColumns();
    const std::size_t symbolColumn = static_cast<std::size_t>(
        std::find_if(columns.begin(), columns.end(), [](const PassColumn& c) { return c.Header == SymbolHeader; }) -
        columns.begin());
    std::vector<std::string> symbols;
    for (auto row = rows.begin() + 1; row != rows.end(); ++row)
        if (symbols.empty() || symbols.back() != (*row)[symbolColumn]) // one in flight may repeat
            symbols.push_back((*row)[symbolColumn]);
    EXPECT_EQ(symbols, market.Symbols);
}
