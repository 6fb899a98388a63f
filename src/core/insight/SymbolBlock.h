#pragma once
// The results block of one symbol of the pass, rebuilt from the quote cache for a view of the pass
// (the pass table's double-click) rather than parsed back out of a report.

#include <string>

#include "core/quotes/Clock.h"
#include "core/settings/UserSettings.h"

// The block of `symbol` as the run window shows it in a replay pass over `fnQuote` with `settings`
// (symbol file settings.FnSym) at the time of `clock`: its progress and saved count those of the
// replay, "Saved N" on a saved symbol's block. A symbol the cache holds no usable record of, or a
// cache or symbol file that cannot be read, gets one line saying so instead.
std::string ReplayedResultsBlock(const std::string& symbol, const std::string& fnQuote,
                                 const UserSettings& settings, const Clock& clock);

// "No quotes of IBM in /dir/Quote.txt."
std::string NoQuotesInCacheText(const std::string& symbol, const std::string& fnQuote);
