#pragma once
// History.db: the symbol's days of quotes that live passes recorded, in SQLite. Write-ahead
// logging and one transaction per batch of whole symbols, so a pass killed at any moment leaves a
// database that opens and holds whole symbols only. The screening never depends on it: every
// failure is a message for the caller to show once.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/history/HistoryDay.h"

struct sqlite3;
struct sqlite3_stmt;

// The layout this program writes and reads (PRAGMA user_version). An older one is brought to it
// on open; a newer one is refused, never altered. Layout 2 added each symbol's year of day
// volatilities beside its days.
inline constexpr int HistorySchemaVersion = 2;

// A day is ranked among the stored days of the 52 weeks that end on it: itself and the 364 before.
inline constexpr std::int32_t RankedDaysBefore = 364;

// The day volatilities (see DayVolatility) of many symbols' days, read with one query, so that a
// pass ranks each of its symbols without asking the store again.
class VolatilitiesBySymbol {
public:
    // Added in ascending symbol order (as std::string compares), each symbol's days in date order.
    void Add(std::string_view symbol, double volatility);
    // A symbol's volatilities at once; it must not have been added before.
    void Add(std::string_view symbol, std::span<const double> volatilities);
    // Room for that many symbols and volatilities, so that adding them moves nothing.
    void Reserve(std::size_t symbols, std::size_t values);
    // The symbol's volatilities; empty when it has none.
    std::span<const double> Of(std::string_view symbol) const;

private:
    struct Run {
        std::string Symbol;
        std::size_t Begin = 0, End = 0; // in values_
    };
    std::vector<Run> runs_;
    std::vector<double> values_;
};

class HistoryStore {
public:
    HistoryStore() = default;
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;
    ~HistoryStore();

    // Opens the store at `path`, creating it when missing. Nothing on success, else the message
    // (naming the file) and the store stays closed.
    [[nodiscard]] std::optional<std::string> Open(const std::string& path);
    // Open, but only a file that exists: a reader (a replay, the sweep, a chart) never creates one.
    [[nodiscard]] std::optional<std::string> OpenExisting(const std::string& path);
    bool IsOpen() const { return db_ != nullptr; }
    void Close();

    // Stores the days in one transaction, each replacing the row of its symbol and date. Nothing on
    // success, else the message; nothing of the batch is then stored.
    [[nodiscard]] std::optional<std::string> Record(std::span<const HistoryDay> days);

    // The symbol's stored days in ascending date order (empty when the store is closed).
    std::vector<HistoryDay> Days(const std::string& symbol);
    // The day volatilities (see DayVolatility) of the symbol's days from `first` to `last`
    // inclusive, dates as "YYYY-MM-DD".
    VolatilitiesBySymbol VolatilitiesOf(const std::string& symbol, const std::string& first,
                                        const std::string& last);
    // A number that differs from the one returned before when another connection (an import,
    // another program) has changed the store in between; 0 when the store is closed.
    std::int64_t ChangesByOthers();
    // The same for every symbol at once, read from the years kept beside the days where they cover
    // `first`, else from the days (empty when the store is closed or the query fails: ranking is
    // never worth stopping a pass for).
    VolatilitiesBySymbol VolatilitiesOfAll(const std::string& first, const std::string& last);

private:
    // "PATH what (SQLite's reason)".
    std::string Message(const std::string& what) const;
    // The message, and the store closed.
    std::optional<std::string> Failure(const std::string& what);
    std::optional<std::string> Execute(const char* sql);
    std::optional<std::string> Upgrade();
    std::optional<std::string> PrepareStatements();
    std::optional<std::string> Insert(const HistoryDay& day);
    std::optional<std::string> Summarize(const std::string& symbol);
    void ReserveForYears(VolatilitiesBySymbol& volatilities);
    std::optional<VolatilitiesBySymbol> SummarizedVolatilitiesOfAll(const std::string& first, const std::string& last);

    sqlite3* db_ = nullptr;
    std::string path_;
    sqlite3_stmt* deleteOptions_ = nullptr;
    sqlite3_stmt* insertDay_ = nullptr;
    sqlite3_stmt* insertOption_ = nullptr;
    sqlite3_stmt* selectDays_ = nullptr;
    sqlite3_stmt* selectVolatilities_ = nullptr;
    sqlite3_stmt* selectOptions_ = nullptr;
    sqlite3_stmt* selectNewestDate_ = nullptr;
    sqlite3_stmt* selectDaysSince_ = nullptr;
    sqlite3_stmt* replaceYear_ = nullptr;
    sqlite3_stmt* selectYears_ = nullptr;
    sqlite3_stmt* countYears_ = nullptr;
};
