// The history store; the IV standing computed from it is rows of cases/tables/calendar.tsv.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <string>
#include <tuple>
#include <vector>

#include "core/history/DayNumber.h"
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

// The years a pass ranks against, read from what the store keeps beside the days, equal what the days
// give: days recorded out of order, replaced, without a volatility, older than a year; kept through
// Record or summarized when a store of layout 1 opens; passes after every symbol's newest day or before.
TEST(HistoryStore, KeepsEachSymbolsYearAsItsDaysGiveIt)
{
    const std::tuple<std::string, std::string, std::optional<float>, std::optional<float>> days[] = {
        {"ACME", "2025-12-01", 0.1f, 0.1f}, {"ACME", "2025-12-05", 0.2f, {}}, {"ACME", "2025-12-06", {}, 0.3f},
        {"ACME", "2026-06-01", {}, {}}, {"ACME", "2026-12-01", 0.4f, 0.5f}, {"ACME", "2026-12-04", 0.7f, 0.2f},
        {"ACME", "2026-12-01", 0.6f, {}}, {"BOLT", "2026-12-05", 0.5f, 0.5f}, {"BOLT", "2026-12-02", 0.3f, 0.3f},
        {"BOLT", "2025-12-06", 0.2f, 0.2f}};
    for (const char* layoutOne : {"", "DROP TABLE year_volatilities; PRAGMA user_version=1"}) {
        TemporaryDirectory directory;
        const std::string path = directory.File("History.db");
        HistoryStore store;
        ASSERT_FALSE(store.Open(path));
        for (const auto& [symbol, date, qvac, qvap] : days)
            ASSERT_FALSE(store.Record(std::vector{Day(symbol, date, qvac, qvap)}));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, layoutOne, nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_FALSE(store.Open(path));
        // Opened again while a pass holds the write lock: an open of this layout writes nothing.
        ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_FALSE(store.Open(path));
        for (const std::string date : {"2026-12-06", "2026-12-05", "2026-11-30"}) {
            const VolatilitiesBySymbol pastYear = PastYearOfAll(store, date);
            const std::string first = *FirstDayOfYearEndingOn(date), last = DateOfDayNumber(*DayNumberOf(date) - 1);
            for (const char* symbol : {"ACME", "BOLT"}) {
                const VolatilitiesBySymbol exact = store.VolatilitiesOf(symbol, first, last);
                EXPECT_THAT(pastYear.Of(symbol), testing::ElementsAreArray(exact.Of(symbol))) << symbol << " " << date;
            }
        }
        sqlite3_close(db);
    }
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
    const std::string newerLayout = "PRAGMA user_version=" + std::to_string(HistorySchemaVersion + 1);
    ASSERT_EQ(sqlite3_exec(db, newerLayout.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::optional<std::string> refusal = store.Open(newer);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("newer version"), std::string::npos) << *refusal;
    EXPECT_FALSE(FileExists(newer + "-wal"));
}

} // namespace
