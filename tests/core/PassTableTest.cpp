// The pass table and the what-if sweep against real replay passes over a generated quote cache:
// the table agrees with the pass's other files, survives an interruption, and the sweep counts
// what a pass saves.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "support/QuoteCacheGenerator.h"
#include "support/SilentRunHost.h"
#include "support/TemporaryDirectory.h"
#include "core/insight/CsvText.h"
#include "core/insight/PassTable.h"
#include "core/insight/Sweep.h"
#include "core/run/Evaluation.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunController.h"
#include "core/run/SymbolList.h"

namespace {

constexpr int SymbolCount = 300;
const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

class CountingHost final : public SilentRunHost {
public:
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
    void SymbolDone(const std::string& symbol, SymbolOutcome outcome, const std::string&) override
    {
        if (outcome == SymbolOutcome::Saved) saved.insert(symbol);
        ++evaluated;
    }
    std::set<std::string> saved;
    int evaluated = 0;
};

class PassTableTest : public ::testing::Test {
protected:
    PassTableTest() : market(quote_cache_generator::GenerateQuoteCache(dir.Path(), SymbolCount, Now))
    {
        paths = FilePaths::Build(dir.Path());
        (void)ReadSettings(settings, paths.FnSettings);
        settings.MinLast = Criterion::Number(50); // binds about two thirds of the symbols
    }

    // A replay pass from wherever the progress record says, ended after `symbols` evaluated ones.
    std::set<std::string> ReplayPass(const UserSettings& with, int symbols = SymbolCount)
    {
        FixedClock clock(Now);
        SharedState state(clock);
        state.Paths = paths;
        state.Settings = with;
        CountingHost host;
        ReplaySource replay(state, host);
        RunController controller(state, host, replay, replay, EvaluateSymbol);
        controller.Activate();
        while (host.evaluated < symbols && controller.Pump() == PumpResult::Continue) {}
        controller.Close();
        return host.saved;
    }

    std::vector<CsvRow> PassRows() const
    {
        std::vector<CsvRow> rows = ReadCsv(ReadWholeFile(paths.FnPassTable).value_or(""));
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(CsvLine(rows.front()), PassHeaderLine());
        rows.erase(rows.begin());
        return rows;
    }

    static std::size_t Column(std::string_view header)
    {
        const auto& columns = PassColumns();
        return static_cast<std::size_t>(std::find_if(columns.begin(), columns.end(),
                                                      [&](const PassColumn& c) { return c.Header == header; }) -
                                         columns.begin());
    }

    // The first word of every line of a symbol file (the SavedSym.txt header lines give none).
    std::set<std::string> SymbolsOf(const std::string& path) const
    {
        std::set<std::string> symbols;
        const std::string text = ReadWholeFile(path).value_or("");
        for (const std::string_view line : SplitLines(text))
            if (!line.empty() && line.front() != ' ' && line.front() != '-')
                symbols.insert(std::string(line.substr(0, line.find(' '))));
        return symbols;
    }

    TemporaryDirectory dir;
    quote_cache_generator::GeneratedMarket market;
    FilePaths paths;
    UserSettings settings;
};

} // namespace

TEST_F(PassTableTest, RowsAgreeWithTheOtherFilesOfThePass)
{
    ReplayPass(settings);
    std::map<std::string, std::set<std::string>> byOutcome;
    for (const CsvRow& row : PassRows()) {
        ASSERT_EQ(row.size(), PassColumns().size());
        byOutcome[row[Column(OutcomeHeader)]].insert(row[Column(SymbolHeader)]);
        const bool saved = row[Column(OutcomeHeader)] == "saved";
        EXPECT_EQ(row[Column(FailedHeader)].empty(), saved || row[Column(OutcomeHeader)] != "screened out");
        if (row[Column(FailedHeader)] == "MinLast") {
            EXPECT_EQ(row[Column("value")], row[Column("last")]);
            EXPECT_LT(std::stod(row[Column("last")]), 50);
            EXPECT_EQ(row[Column("bound")], "50");
        }
    }
    EXPECT_EQ(byOutcome["saved"], SymbolsOf(paths.FnSavedSym));
    EXPECT_EQ(byOutcome["no quotes"], SymbolsOf(paths.FnBadSym));
    std::set<std::string> withQuotes = byOutcome["screened out"];
    withQuotes.insert(byOutcome["saved"].begin(), byOutcome["saved"].end());
    withQuotes.insert(byOutcome["error"].begin(), byOutcome["error"].end());
    EXPECT_EQ(withQuotes, SymbolsOf(paths.FnGoodSym));
    EXPECT_FALSE(byOutcome["saved"].empty());
}

TEST_F(PassTableTest, AnInterruptedPassKeepsOneRowPerSymbolWhenResumed)
{
    ReplayPass(settings, SymbolCount / 3);
    ReplayPass(settings, SymbolCount / 2);
    ReplayPass(settings);
    std::vector<std::string> symbols;
    for (const CsvRow& row : PassRows())
        if (symbols.empty() || symbols.back() != row[Column(SymbolHeader)]) // one in flight may repeat
            symbols.push_back(row[Column(SymbolHeader)]);
    EXPECT_EQ(symbols, market.Symbols);
}

TEST_F(PassTableTest, SweepCountsWhatAReplayPassSaves)
{
    const std::set<std::string> savedNow = ReplayPass(settings);
    std::set<std::string> failedMinLast;
    for (const CsvRow& row : PassRows())
        if (row[Column(FailedHeader)] == "MinLast") failedMinLast.insert(row[Column(SymbolHeader)]);

    std::string problem;
    std::optional<QuoteSnapshot> snapshot = ReadQuoteSnapshot(settings.FnSym, paths.FnQuote, Now, problem);
    ASSERT_TRUE(snapshot) << problem;
    const auto rows = SweepCriterion(*snapshot, settings, *FindCriterion("MinLast"), *ParseSweepValues("NA,50"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Saved, static_cast<int>(savedNow.size()));
    EXPECT_EQ(rows[2].Saved, rows[0].Saved);

    // Off, it adds exactly the symbols that a pass without it saves besides, and each of them had it
    // as its first failing criterion.
    UserSettings off = settings;
    off.MinLast = Criterion::Text("NA");
    std::set<std::string> joined = savedNow;
    joined.insert(rows[1].Joined.begin(), rows[1].Joined.end());
    EXPECT_EQ(joined, ReplayPass(off));
    EXPECT_TRUE(rows[1].Left.empty());
    EXPECT_FALSE(rows[1].Joined.empty());
    for (const std::string& symbol : rows[1].Joined) EXPECT_TRUE(failedMinLast.count(symbol)) << symbol;
}
