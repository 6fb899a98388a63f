#include "core/history/HistoryStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>

#include "core/history/DayNumber.h"
#include "core/history/YearVolatilities.h"

namespace {

constexpr const char* CreateSchema =
    "CREATE TABLE IF NOT EXISTS days ("
    " symbol TEXT NOT NULL, date TEXT NOT NULL, last_sale REAL NOT NULL, qvac REAL, qvap REAL,"
    " PRIMARY KEY (symbol, date));"
    "CREATE TABLE IF NOT EXISTS options ("
    " symbol TEXT NOT NULL, date TEXT NOT NULL, side INTEGER NOT NULL,"
    " strike_position INTEGER NOT NULL, expiration INTEGER NOT NULL, strike REAL NOT NULL,"
    " days_to_go INTEGER NOT NULL, implied_volatility REAL, volume REAL, open_interest REAL,"
    " PRIMARY KEY (symbol, date, side, strike_position, expiration));"
    // A symbol's year is read from this index alone, whether to rank it or to summarize it.
    "CREATE INDEX IF NOT EXISTS days_volatility ON days (symbol, date, qvac, qvap);"
    // Each symbol's day volatilities from RankedDaysBefore days before its newest day to that day
    // (YearVolatilities.h), rewritten from its days in the transaction that changes them: a pass
    // ranks every symbol after reading one short row each, however long the history grows.
    "CREATE TABLE IF NOT EXISTS year_volatilities ("
    " symbol TEXT PRIMARY KEY, newest TEXT NOT NULL, volatilities BLOB NOT NULL) WITHOUT ROWID;";

// Binds an absent figure as NULL.
void BindOptional(sqlite3_stmt* statement, int index, const std::optional<float>& value)
{
    if (value) sqlite3_bind_double(statement, index, *value);
    else sqlite3_bind_null(statement, index);
}

std::optional<float> ColumnOptional(sqlite3_stmt* statement, int column)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) return std::nullopt;
    return static_cast<float>(sqlite3_column_double(statement, column));
}

std::string ColumnText(sqlite3_stmt* statement, int column)
{
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

// The column's text or blob as SQLite holds it, not copied: valid until the statement steps on.
std::string_view ColumnBytes(sqlite3_stmt* statement, int column)
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return {bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

// Resets a statement for its next use whichever way the function that stepped it leaves.
struct ResetOnExit {
    sqlite3_stmt* statement;
    ~ResetOnExit()
    {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

} // namespace

HistoryStore::~HistoryStore() { Close(); }

void HistoryStore::Close()
{
    for (sqlite3_stmt** statement :
         {&deleteOptions_, &insertDay_, &insertOption_, &selectDays_, &selectVolatilities_, &selectOptions_,
          &selectNewestDate_, &selectDaysSince_, &replaceYear_, &selectYears_, &countYears_}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    sqlite3_close(db_);
    db_ = nullptr;
}

std::string HistoryStore::Message(const std::string& what) const
{
    std::string message = path_ + " " + what;
    if (db_) message += " (" + std::string(sqlite3_errmsg(db_)) + ")";
    return message;
}

std::optional<std::string> HistoryStore::Failure(const std::string& what)
{
    std::string message = Message(what);
    Close();
    return message;
}

std::optional<std::string> HistoryStore::Execute(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return std::nullopt;
    return Message("cannot be written");
}

std::optional<std::string> HistoryStore::Open(const std::string& path)
{
    Close();
    path_ = path;
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        return Failure("cannot be opened");
    sqlite3_busy_timeout(db_, 2000);
    // Reading the version is the first touch of the file: a damaged one fails here.
    sqlite3_stmt* version = nullptr;
    if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &version, nullptr) != SQLITE_OK)
        return Failure("is not a history database");
    const int step = sqlite3_step(version);
    const int found = step == SQLITE_ROW ? sqlite3_column_int(version, 0) : -1;
    sqlite3_finalize(version);
    if (found < 0) return Failure("is not a history database");
    if (found > HistorySchemaVersion)
        return Failure("was written by a newer version of the program (layout " +
                       std::to_string(found) + "); it is left as it is");
    if (Execute("PRAGMA journal_mode=WAL") || Execute("PRAGMA synchronous=NORMAL"))
        return Failure("cannot be prepared");
    // A store of this layout is only read here: opening it never waits for a pass that writes.
    return found == HistorySchemaVersion ? PrepareStatements() : Upgrade();
}

// The tables, the year of every symbol stored so far and the layout number in one transaction: a
// program killed here leaves the store as it found it.
std::optional<std::string> HistoryStore::Upgrade()
{
    if (Execute("BEGIN IMMEDIATE") || Execute(CreateSchema)) return Failure("cannot be prepared");
    if (std::optional<std::string> failure = PrepareStatements()) return failure;
    std::vector<std::string> symbols;
    sqlite3_stmt* select = nullptr;
    int step = sqlite3_prepare_v2(db_, "SELECT DISTINCT symbol FROM days", -1, &select, nullptr) == SQLITE_OK
                   ? sqlite3_step(select)
                   : SQLITE_ERROR;
    for (; step == SQLITE_ROW; step = sqlite3_step(select)) symbols.push_back(ColumnText(select, 0));
    sqlite3_finalize(select);
    if (step != SQLITE_DONE) return Failure("cannot be prepared");
    for (const std::string& symbol : symbols)
        if (Summarize(symbol)) return Failure("cannot be prepared");
    const std::string version = "PRAGMA user_version=" + std::to_string(HistorySchemaVersion);
    if (Execute(version.c_str()) || Execute("COMMIT")) return Failure("cannot be prepared");
    return std::nullopt;
}

std::optional<std::string> HistoryStore::OpenExisting(const std::string& path)
{
    std::error_code ignored; // a path that cannot even be looked at fails as missing
    if (!std::filesystem::exists(path, ignored)) {
        Close();
        return path + " does not exist: no live pass has recorded history yet";
    }
    return Open(path);
}

std::optional<std::string> HistoryStore::PrepareStatements()
{
    const std::pair<sqlite3_stmt**, const char*> statements[] = {
        {&deleteOptions_, "DELETE FROM options WHERE symbol = ?1 AND date = ?2"},
        {&insertDay_, "INSERT OR REPLACE INTO days VALUES (?1, ?2, ?3, ?4, ?5)"},
        {&insertOption_, "INSERT INTO options VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"},
        {&selectDays_, "SELECT date, last_sale, qvac, qvap FROM days WHERE symbol = ?1 ORDER BY date"},
        {&selectVolatilities_, "SELECT symbol, qvac, qvap FROM days WHERE symbol = ?1 AND date BETWEEN ?2 AND ?3"
                                " ORDER BY date"},
        {&selectOptions_, "SELECT side, strike_position, expiration, strike, days_to_go,"
                          " implied_volatility, volume, open_interest FROM options"
                          " WHERE symbol = ?1 AND date = ?2 ORDER BY side, strike_position, expiration"},
        {&selectNewestDate_, "SELECT max(date) FROM days WHERE symbol = ?1"},
        {&selectDaysSince_, "SELECT date, qvac, qvap FROM days WHERE symbol = ?1 AND date >= ?2 ORDER BY date"},
        {&replaceYear_, "INSERT OR REPLACE INTO year_volatilities VALUES (?1, ?2, ?3)"},
        {&selectYears_, "SELECT symbol, newest, volatilities FROM year_volatilities ORDER BY symbol"},
        {&countYears_, "SELECT count(*), sum(length(volatilities)) FROM year_volatilities"},
    };
    for (const auto& [statement, sql] : statements)
        if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, statement, nullptr) != SQLITE_OK)
            return Failure("cannot be read");
    return std::nullopt;
}

std::optional<std::string> HistoryStore::Insert(const HistoryDay& day)
{
    auto step = [&](sqlite3_stmt* statement) {
        ResetOnExit reset{statement};
        return sqlite3_step(statement) == SQLITE_DONE;
    };
    sqlite3_bind_text(deleteOptions_, 1, day.Symbol.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(deleteOptions_, 2, day.Date.c_str(), -1, SQLITE_TRANSIENT);
    if (!step(deleteOptions_)) return Message("cannot be written");
    sqlite3_bind_text(insertDay_, 1, day.Symbol.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insertDay_, 2, day.Date.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(insertDay_, 3, day.LastSale);
    BindOptional(insertDay_, 4, day.QVAC);
    BindOptional(insertDay_, 5, day.QVAP);
    if (!step(insertDay_)) return Message("cannot be written");
    for (const HistoryOption& option : day.Options) {
        sqlite3_bind_text(insertOption_, 1, day.Symbol.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insertOption_, 2, day.Date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insertOption_, 3, option.Side);
        sqlite3_bind_int(insertOption_, 4, option.StrikePosition);
        sqlite3_bind_int(insertOption_, 5, option.Expiration);
        sqlite3_bind_double(insertOption_, 6, option.Strike);
        sqlite3_bind_int(insertOption_, 7, option.DaysToGo);
        BindOptional(insertOption_, 8, option.ImpliedVolatility);
        BindOptional(insertOption_, 9, option.Volume);
        BindOptional(insertOption_, 10, option.OpenInterest);
        if (!step(insertOption_)) return Message("cannot be written");
    }
    return std::nullopt;
}

std::optional<std::string> HistoryStore::Record(std::span<const HistoryDay> days)
{
    if (!db_) return Message("is not open");
    if (std::optional<std::string> failure = Execute("BEGIN IMMEDIATE")) return failure;
    for (const HistoryDay& day : days) {
        std::optional<std::string> failure = Insert(day);
        // The symbol's year follows its days in the same transaction: the two always agree.
        if (!failure) failure = Summarize(day.Symbol);
        if (failure) {
            (void)Execute("ROLLBACK"); // the batch's own failure is the one worth telling
            return failure;
        }
    }
    return Execute("COMMIT");
}

// Rewrites the symbol's row of year_volatilities from its days. A newest date that is no date
// leaves the year empty, and readers then read the days.
std::optional<std::string> HistoryStore::Summarize(const std::string& symbol)
{
    std::string newest;
    {
        ResetOnExit reset{selectNewestDate_};
        sqlite3_bind_text(selectNewestDate_, 1, symbol.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(selectNewestDate_) != SQLITE_ROW) return Message("cannot be written");
        newest = ColumnText(selectNewestDate_, 0);
    }
    std::vector<DatedVolatility> year;
    if (const std::optional<std::int32_t> newestDay = DayNumberOf(newest)) {
        ResetOnExit reset{selectDaysSince_};
        sqlite3_bind_text(selectDaysSince_, 1, symbol.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(selectDaysSince_, 2, DateOfDayNumber(*newestDay - RankedDaysBefore).c_str(), -1,
                          SQLITE_TRANSIENT);
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(selectDaysSince_)) == SQLITE_ROW) {
            const std::optional<std::int32_t> day = DayNumberOf(ColumnBytes(selectDaysSince_, 0));
            const std::optional<double> volatility =
                DayVolatility(ColumnOptional(selectDaysSince_, 1), ColumnOptional(selectDaysSince_, 2));
            if (day && volatility) year.push_back({*day, *volatility});
        }
        if (step != SQLITE_DONE) return Message("cannot be written");
    }
    const std::string encoded = EncodeYearVolatilities(year);
    ResetOnExit reset{replaceYear_};
    sqlite3_bind_text(replaceYear_, 1, symbol.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(replaceYear_, 2, newest.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(replaceYear_, 3, encoded.data(), static_cast<int>(encoded.size()), SQLITE_STATIC);
    if (sqlite3_step(replaceYear_) != SQLITE_DONE) return Message("cannot be written");
    return std::nullopt;
}

std::vector<HistoryDay> HistoryStore::Days(const std::string& symbol)
{
    std::vector<HistoryDay> days;
    if (!db_) return days;
    ResetOnExit resetDays{selectDays_};
    sqlite3_bind_text(selectDays_, 1, symbol.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(selectDays_) == SQLITE_ROW) {
        HistoryDay& day = days.emplace_back();
        day.Symbol = symbol;
        day.Date = ColumnText(selectDays_, 0);
        day.LastSale = static_cast<float>(sqlite3_column_double(selectDays_, 1));
        day.QVAC = ColumnOptional(selectDays_, 2);
        day.QVAP = ColumnOptional(selectDays_, 3);
        ResetOnExit resetOptions{selectOptions_};
        sqlite3_bind_text(selectOptions_, 1, symbol.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(selectOptions_, 2, day.Date.c_str(), -1, SQLITE_TRANSIENT);
        for (HistoryOption& option : day.Options) {
            if (sqlite3_step(selectOptions_) != SQLITE_ROW) break;
            option.Side = sqlite3_column_int(selectOptions_, 0);
            option.StrikePosition = sqlite3_column_int(selectOptions_, 1);
            option.Expiration = sqlite3_column_int(selectOptions_, 2);
            option.Strike = static_cast<float>(sqlite3_column_double(selectOptions_, 3));
            option.DaysToGo = sqlite3_column_int(selectOptions_, 4);
            option.ImpliedVolatility = ColumnOptional(selectOptions_, 5);
            option.Volume = ColumnOptional(selectOptions_, 6);
            option.OpenInterest = ColumnOptional(selectOptions_, 7);
        }
    }
    return days;
}

namespace {

// Steps rows of (symbol, qvac, qvap) in ascending symbol order and adds each day's volatility.
void AddDayVolatilitiesOfRows(sqlite3_stmt* select, VolatilitiesBySymbol& volatilities)
{
    while (sqlite3_step(select) == SQLITE_ROW) {
        // The symbol not copied: a year of 30000 symbols is millions of rows.
        if (const std::optional<double> volatility = DayVolatility(ColumnOptional(select, 1), ColumnOptional(select, 2)))
            volatilities.Add(ColumnBytes(select, 0), *volatility);
    }
}

} // namespace

VolatilitiesBySymbol HistoryStore::VolatilitiesOf(const std::string& symbol, const std::string& first,
                                                  const std::string& last)
{
    VolatilitiesBySymbol volatilities;
    if (!db_) return volatilities;
    ResetOnExit reset{selectVolatilities_};
    sqlite3_bind_text(selectVolatilities_, 1, symbol.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(selectVolatilities_, 2, first.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(selectVolatilities_, 3, last.c_str(), -1, SQLITE_TRANSIENT);
    AddDayVolatilitiesOfRows(selectVolatilities_, volatilities);
    return volatilities;
}

std::int64_t HistoryStore::ChangesByOthers()
{
    sqlite3_stmt* version = nullptr;
    if (!db_ || sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &version, nullptr) != SQLITE_OK) return 0;
    const std::int64_t found = sqlite3_step(version) == SQLITE_ROW ? sqlite3_column_int64(version, 0) : 0;
    sqlite3_finalize(version);
    return found;
}

// Room for every symbol's whole year: growing by steps would copy and touch twice the memory, which
// costs a pass more than counting first.
void HistoryStore::ReserveForYears(VolatilitiesBySymbol& volatilities)
{
    ResetOnExit reset{countYears_};
    if (sqlite3_step(countYears_) == SQLITE_ROW)
        volatilities.Reserve(static_cast<std::size_t>(sqlite3_column_int64(countYears_, 0)),
                             static_cast<std::size_t>(sqlite3_column_int64(countYears_, 1)) / BytesPerDatedVolatility);
}

// VolatilitiesOfAll from year_volatilities alone. Nothing when the year of some symbol does not
// reach back to `first` (a pass dated before its newest day: a clock set back, a later cache
// imported) or does not read: the days then give the exact answer.
std::optional<VolatilitiesBySymbol> HistoryStore::SummarizedVolatilitiesOfAll(const std::string& first,
                                                                              const std::string& last)
{
    const std::optional<std::int32_t> firstDay = DayNumberOf(first), lastDay = DayNumberOf(last);
    if (!firstDay || !lastDay) return std::nullopt;
    VolatilitiesBySymbol volatilities;
    ReserveForYears(volatilities);
    std::vector<DatedVolatility> year;
    std::vector<double> inSpan;
    ResetOnExit reset{selectYears_};
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(selectYears_)) == SQLITE_ROW) {
        const std::optional<std::int32_t> newestDay = DayNumberOf(ColumnBytes(selectYears_, 1));
        if (!newestDay || *newestDay - RankedDaysBefore > *firstDay ||
            !DecodeYearVolatilities(ColumnBytes(selectYears_, 2), year))
            return std::nullopt;
        inSpan.clear();
        for (const DatedVolatility& day : year)
            if (day.Day >= *firstDay && day.Day <= *lastDay) inSpan.push_back(day.Volatility);
        volatilities.Add(ColumnBytes(selectYears_, 0), inSpan);
    }
    if (step != SQLITE_DONE) return std::nullopt;
    return volatilities;
}

VolatilitiesBySymbol HistoryStore::VolatilitiesOfAll(const std::string& first, const std::string& last)
{
    if (!db_) return {};
    if (std::optional<VolatilitiesBySymbol> summarized = SummarizedVolatilitiesOfAll(first, last))
        return std::move(*summarized);
    VolatilitiesBySymbol volatilities;
    sqlite3_stmt* select = nullptr;
    // Ordered as the primary key runs, so SQLite sorts nothing.
    if (sqlite3_prepare_v2(db_, "SELECT symbol, qvac, qvap FROM days WHERE date BETWEEN ?1 AND ?2"
                                " ORDER BY symbol, date", -1, &select, nullptr) != SQLITE_OK)
        return volatilities;
    sqlite3_bind_text(select, 1, first.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(select, 2, last.c_str(), -1, SQLITE_TRANSIENT);
    AddDayVolatilitiesOfRows(select, volatilities);
    sqlite3_finalize(select);
    return volatilities;
}

void VolatilitiesBySymbol::Reserve(std::size_t symbols, std::size_t values)
{
    runs_.reserve(symbols);
    values_.reserve(values);
}

void VolatilitiesBySymbol::Add(std::string_view symbol, std::span<const double> volatilities)
{
    if (volatilities.empty()) return;
    runs_.push_back({std::string(symbol), values_.size(), values_.size() + volatilities.size()});
    values_.insert(values_.end(), volatilities.begin(), volatilities.end());
}

void VolatilitiesBySymbol::Add(std::string_view symbol, double volatility)
{
    if (runs_.empty() || runs_.back().Symbol != symbol)
        runs_.push_back({std::string(symbol), values_.size(), values_.size()});
    values_.push_back(volatility);
    runs_.back().End = values_.size();
}

std::span<const double> VolatilitiesBySymbol::Of(std::string_view symbol) const
{
    const auto run = std::lower_bound(runs_.begin(), runs_.end(), symbol,
                                      [](const Run& r, std::string_view s) { return r.Symbol < s; });
    if (run == runs_.end() || run->Symbol != symbol) return {};
    return std::span<const double>(values_).subspan(run->Begin, run->End - run->Begin);
}
