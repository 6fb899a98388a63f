#pragma once
// The pages of the stand-in quote server's made-up market: a stock quote page and an option chain
// page per company, in the layout of core/quotes/QuotePageMarkup.h.

#include <string>
#include <string_view>
#include <vector>

#include "MarketFile.h"
#include "core/quotes/QuotePageMarkup.h"
#include "core/quotes/Clock.h"
#include "core/quotes/OptionWindow.h" // OptionRootOf: a made-up longer stock gets its first 3 letters as root

// One option of the served chain, with the volatility it was priced at.
struct ChainRow : OptionPageRow {
    int Expiration = 0;    // position in the expiration calendar of `now`
    double Volatility = 0; // fraction per year
};

// Calls and puts of the first `expirations` expirations of the calendar of `now`, every strike
// of the ladder, priced with the screener's own model at `rate` (fraction per year) and the
// company's dividend yield and smile. Bid and ask lie around the model price, so their mean
// solves back to the volatility of the row.
std::vector<ChainRow> OptionChain(const Company& company, const LocalDateTime& now, float rate,
                                  int expirations = 3);

std::string StockPage(const Company& company, const LocalDateTime& now);
// A quote page that names the symbol but has no last sale: the screener marks the symbol bad.
std::string UnknownStockPage(std::string_view symbol);
std::string OptionPage(const Company& company, const std::vector<ChainRow>& chain);
