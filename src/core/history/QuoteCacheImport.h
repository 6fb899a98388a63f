#pragma once
// Fills the history store from a quote cache written by an earlier pass (Quote.txt, Quote.bak).

#include <optional>
#include <string>

#include "core/history/HistoryStore.h"
#include "core/quotes/Clock.h"
#include "core/settings/UserSettings.h"

struct CacheImport {
    int Symbols = 0;                    // symbols with a whole record, stored
    int Skipped = 0;                    // records without options, cut short or damaged
    std::optional<std::string> Failure; // the cache or the store could not be used
};

// Reads every whole record of the cache at `path` as a replay pass would, solves its implied
// volatilities with `settings` and stores each symbol as of `date` ("YYYY-MM-DD"). A record
// already stored for that symbol and date is replaced, so importing a file twice changes nothing.
CacheImport ImportQuoteCache(const std::string& path, const std::string& date, const UserSettings& settings,
                             HistoryStore& store);

// The day of `symbol` in the quote cache at `path`, read as a replay on `now` reads it and solved
// with `settings`. Nothing when the cache cannot be opened or holds no usable record of the symbol;
// `problem` then says which.
std::optional<HistoryDay> CachedDay(const std::string& path, const std::string& symbol, const LocalDateTime& now,
                                    const UserSettings& settings, std::string& problem);

// The date a file was last written, "YYYY-MM-DD" in UTC; nothing when it cannot be read.
std::optional<std::string> FileDate(const std::string& path);
