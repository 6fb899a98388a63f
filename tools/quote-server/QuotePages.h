#pragma once
// The pages of the stand-in quote server: a stock quote page and an option chain page per
// company, laid out so that the screener's label and keyword searches find each figure where it
// is meant (every label begins its own text run, nothing else begins with a label's letters, and
// the word the company name follows appears nowhere above it).

#include <string>
#include <string_view>
#include <vector>

#include "MarketFile.h"
#include "core/quotes/Clock.h"
#include "core/quotes/OptionWindow.h" // OptionRootOf: a made-up longer stock gets its first 3 letters as root

// One option of the served chain, with the volatility it was priced at.
struct ChainRow {
    std::string Symbol;    // root + month letter + strike letter
    int Side = 0;          // 0 call, 1 put
    int Expiration = 0;    // position in the expiration calendar of `now`
    double Strike = 0;     // dollars
    double Volatility = 0; // fraction per year
    double Last = 0, Change = 0, Bid = 0, Ask = 0; // dollars
    long long Volume = 0, OpenInterest = 0;
};

// Strikes served around `last`: the screener's five plus two below and two above, ascending, none
// below 5 dollars.
std::vector<double> StrikeLadder(double last);


// Calls and puts of the first `expirations` expirations of the calendar of `now`, every strike
// of the ladder, priced with the screener's own model at `rate` (fraction per year) and the
// company's dividend yield and smile. Bid and ask lie around the model price, so their mean
// solves back to the volatility of the row.
std::vector<ChainRow> OptionChain(const Company& company, const LocalDateTime& now, float rate,
                                  int expirations = 3);

std::string StockPage(const Company& company, const LocalDateTime& now);
// A quote page that names the symbol but has no last sale: the screener marks the symbol bad.
std::string UnknownStockPage(std::string_view symbol);
// The server's "busy" answer: the screener gives the symbol up without retrying.
std::string TryAgainPage(std::string_view symbol);
std::string OptionPage(const Company& company, const std::vector<ChainRow>& chain);
std::string SymbolNotFoundPage(std::string_view symbol);
