#pragma once
// The optional stock file beside a chain file: one row per symbol with the figures of a stock
// quote page, its columns named as in data/demo-market.csv (symbol, company, exchange, last,
// net_change, bid, ask, open, high, low, previous_close, high_52_week, low_52_week, volume,
// dividend, eps, pe, yield_percent, shares_thousands). Only the symbol column is required; an
// absent column or an empty field leaves that figure off the page.

#include <string>
#include <unordered_map>
#include <variant>

#include "core/chains/SkippedRows.h"
#include "core/quotes/QuotePageMarkup.h"

struct StockFile {
    std::unordered_map<std::string, StockPageFigures> Stocks; // by symbol as the symbol list writes it
    SkippedRows Skipped;
};

// The stocks of the file at `path`, or a message naming the file when it cannot be read or has
// no symbol column. Rows with a figure that is not a number are skipped and counted.
std::variant<StockFile, std::string> ReadStockFile(const std::string& path);
