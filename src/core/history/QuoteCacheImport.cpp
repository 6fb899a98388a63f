#include "core/history/QuoteCacheImport.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/QVA.h"
#include "core/quotes/QuoteCache.h"
#include "core/run/ReadQuoteRecord.h"

namespace {

// Symbols stored per transaction: large enough to make the import fast, small enough that a
// killed import leaves most of its work.
constexpr std::size_t ImportBatch = 1000;

// Moves the look-ahead to the next stock marker and returns its symbol; nothing at the end.
std::optional<std::string> NextCachedSymbol(QuoteFileReader& reader)
{
    for (;;) {
        const std::string& lookAhead = reader.LookAhead();
        if (lookAhead.starts_with(StockMarker)) return lookAhead.substr(StockMarker.size());
        if (!reader.ReadIntoLookAhead()) return std::nullopt;
    }
}

// The quote date at the close, for the option calendar's days to expiry.
std::optional<LocalDateTime> CloseOf(const std::string& date)
{
    return ParseDateTime(date + " 16:00:00");
}

} // namespace

CacheImport ImportQuoteCache(const std::string& path, const std::string& date, const UserSettings& settings,
                             HistoryStore& store)
{
    CacheImport result;
    const std::optional<LocalDateTime> now = CloseOf(date);
    QuoteFileReader reader;
    if (!now) {
        result.Failure = "not a date: " + date + " (YYYY-MM-DD)";
        return result;
    }
    if (!reader.Open(path)) {
        result.Failure = "Cannot open " + path + " for input.";
        return result;
    }
    std::vector<HistoryDay> batch;
    auto flush = [&] {
        if (!result.Failure) result.Failure = store.Record(batch);
        batch.clear();
    };
    QuoteData quote;
    while (const std::optional<std::string> symbol = NextCachedSymbol(reader)) {
        if (!ReadQuoteRecord(reader, quote, *symbol, *now)) {
            ++result.Skipped;
            // A record that failed at its first value leaves its own marker in hand: pass it.
            if (reader.LookAhead() == std::string(StockMarker) + *symbol && !reader.ReadIntoLookAhead()) break;
            continue;
        }
        try {
            ComputeQVA(quote, settings);
        } catch (const ArithmeticFault&) {
            ++result.Skipped; // as a pass would skip the symbol
            continue;
        }
        batch.push_back(HistoryDayOf(quote, *symbol, date));
        ++result.Symbols;
        if (batch.size() == ImportBatch) flush();
    }
    flush();
    return result;
}

std::optional<HistoryDay> CachedDay(const std::string& path, const std::string& symbol, const LocalDateTime& now,
                                    const UserSettings& settings, std::string& problem)
{
    QuoteFileReader reader;
    if (!reader.Open(path)) {
        problem = "Cannot open " + path + " for input.";
        return std::nullopt;
    }
    QuoteData quote;
    if (!ReadQuoteRecord(reader, quote, symbol, now)) {
        problem = path + " holds no usable quotes of " + symbol + ".";
        return std::nullopt;
    }
    try {
        ComputeQVA(quote, settings);
    } catch (const ArithmeticFault&) {
        problem = "The quotes of " + symbol + " in " + path + " cannot be solved.";
        return std::nullopt;
    }
    return HistoryDayOf(quote, symbol, FormatDate(now));
}

std::optional<std::string> FileDate(const std::string& path)
{
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    const auto day = std::chrono::floor<std::chrono::days>(std::chrono::file_clock::to_sys(written));
    const std::chrono::year_month_day date{day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return std::string(text);
}
