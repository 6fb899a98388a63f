#pragma once
// The per-symbol quote record and the page parsers that fill it and append it to the quote cache.

#include <string>

#include "core/quotes/Clock.h"
#include "core/quotes/PageBuffer.h"
#include "core/quotes/QuoteData.h"

// Resets the stock fields, the option series and the averages, and rebuilds the expiration
// calendar for `now`, so that nothing of the previous symbol survives.
void ClearQuoteRecord(QuoteData& quote, const LocalDateTime& now);

// Reads the stripped stock page in page.PageText into quote.Stock, selects the strikes and appends
// the 26-line stock record to `fnQuote`. False for a "PLEASE TRY AGAIN" page or a last sale below
// 0.125 (nothing is written then).
bool ParseStockPage(PageBuffer& page, QuoteData& quote, const std::string& currentSymbol,
                    const std::string& fnQuote, const LocalDateTime& now);

// Reads the stripped option page into quote.Series and OptionRoot and appends the option block to
// `fnQuote`. True when at least one option of the window was stored.
bool ParseOptionPage(PageBuffer& page, QuoteData& quote, const std::string& currentSymbol,
                     const std::string& fnQuote);
