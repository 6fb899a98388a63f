// The history store; the IV standing computed from it is rows of cases/tables/calendar.tsv.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <string>
#include <vector>

#include "core/history/HistoryRecorder.h"
#include "core/history/HistoryStore.h"
#include "core/text/TextFile.h"
#include "support/SilentRunHost.h"
#include "support/TemporaryDirectory.h"

namespace {

HistoryDay Day(const std::string& symbol, const std::string& date, std::optional<float> qvac,
               std::optional<float> qvap)
{
    HistoryDay day;
    day.Symbol = symbol;
    day.Date = date;
    day.LastSale = 100;
    day.QVAC = qvac;
    day.QVAP = qvap;
    for (std::size_t i = 0; i < day.Options.size(); ++i) {
        day.Options[i].Side = i < 6 ? Calls : Puts;
        day.Options[i].StrikePosition = 1 + static_cast<int>(i % 6) / 2;
        day.Options[i].Expiration = static_cast<int>(i % 2);
        day.Options[i].ImpliedVolatility = 0.2f + 0.01f * static_cast<float>(i);
    }
    return day;
}

TEST(HistoryStore, KeepsOneRowPerSymbolAndDateWhateverIsRecordedAgain)
{
    TemporaryDirectory directory;
    HistoryStore store;
    ASSERT_FALSE(store.Open(directory.File("History.db")));
    for (const char* date : {"2026-12-01", "2026-12-02", "2026-12-03"})
        for (const char* symbol : {"ACME", "BOLT"})
            ASSERT_FALSE(store.Record(std::vector{Day(symbol, date, 0.3f, 0.4f)}));
    // The same date again replaces its row, options included; absent averages stay absent.
    ASSERT_FALSE(store.Record(std::vector{Day("ACME", "2026-12-02", 0.5f, std::nullopt)}));
    store.Close();

    ASSERT_FALSE(store.Open(directory.File("History.db")));
    const std::vector<HistoryDay> days = store.Days("ACME");
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[1].Date, "2026-12-02");
    EXPECT_FLOAT_EQ(*days[1].QVAC, 0.5f);
    EXPECT_FALSE(days[1].QVAP);
    EXPECT_FLOAT_EQ(*days[1].Options[11].ImpliedVolatility, 0.31f);
    EXPECT_EQ(days[1].Options[11].Side, Puts);
    EXPECT_EQ(store.Days("BOLT").size(), 3u);
    // Mean of both sides where both exist, else the side that exists.
    EXPECT_THAT(store.VolatilitiesOf("ACME", "2026-12-02", "2026-12-03").Of("ACME"),
                testing::Pointwise(testing::DoubleNear(1e-6), std::vector<double>{0.5, 0.35}));
}

// A recorder keeps the year it read from one pass to the next, but not past an import.
TEST(HistoryStore, ARecorderRanksTheNextPassAgainstDaysImportedMeanwhile)
{
    TemporaryDirectory directory;
    FixedClock clock(LocalDateTime{2026, 12, 31, 15, 30, 0});
    SharedState state(clock);
    state.Paths = FilePaths::Build(directory.Path());
    state.Settings.GetQuoteFromLocalFile = true; // a replay: it records nothing itself
    state.Run.CurrentSymbol = "ACME";
    state.Quote.QVA.QVAAverage[Calls] = 0.5f;
    state.Quote.QVA.QVAAverage[Puts] = 0.5f;
    HistoryStore importer;
    ASSERT_FALSE(importer.Open(state.Paths.FnHistory));
    const auto importDays = [&](int first, int count, float qvac) {
        std::vector<HistoryDay> days;
        for (int d = first; d < first + count; ++d)
            days.push_back(Day("ACME", "2026-11-" + std::string(d < 10 ? "0" : "") + std::to_string(d), qvac, qvac));
        ASSERT_FALSE(importer.Record(days));
    };
    importDays(1, 20, 0.4f);
    HistoryRecorder recorder;
    SilentRunHost host;
    const auto rankOfPass = [&] {
        state.Run.SymbolIndex = 1; // every pass starts over
        return recorder.RecordAndRank(state, host).Rank;
    };
    EXPECT_EQ(rankOfPass(), 100.0);
    EXPECT_EQ(rankOfPass(), 100.0);
    importDays(21, 1, 1.0f);
    EXPECT_NEAR(*rankOfPass(), 1.0 / 6 * 100, 1e-4);
}

TEST(HistoryStore, RefusesWhatItCannotUseAndLeavesItAsItIs)
{
    TemporaryDirectory directory;
    const std::string damaged = directory.File("damaged.db");
    ASSERT_TRUE(ReplaceFile(damaged, std::string(4096, 'x')));
    HistoryStore store;
    const std::optional<std::string> message = store.Open(damaged);
    ASSERT_TRUE(message);
    EXPECT_NE(message->find(damaged), std::string::npos) << *message;
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(*ReadWholeFile(damaged), std::string(4096, 'x'));

    // A later program's layout: refused, never migrated.
    const std::string newer = directory.File("newer.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(newer.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version=2", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::optional<std::string> refusal = store.Open(newer);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("newer"), std::string::npos) << *refusal;
    EXPECT_FALSE(FileExists(newer + "-wal"));
}

} // namespace
