#pragma once
// The quote pages as a quote server sends them, the writer beside ParseStockPage and
// ParseOptionPage: a stock quote page and an option chain page, laid out so that the parsers'
// label and keyword searches find each figure where it is meant (every label begins its own text
// run, nothing else begins with a label's letters, and the word the company name follows appears
// nowhere above it). The stand-in server and the chain-file import both build their pages here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The figures of a stock page; an empty text or an absent number leaves its row off the page, so
// the parser keeps the field's cleared value. Dollars unless noted.
struct StockPageFigures {
    std::string Symbol;
    std::string CompanyName; // empty: the symbol stands in, since the parser takes the line after "TRADE"
    std::string Exchange, TimeOfLastSale, SizeBidAsk, ExDividendDate;
    std::optional<double> LastSale; // absent: "N/A", a page the screener cannot use
    std::optional<double> NetChange, Bid, Ask, Open, High, Low, PreviousClose, High52Week, Low52Week;
    std::optional<double> Volatility, Dividend, Eps, PriceEarnings;
    std::optional<double> YieldPercent;         // percent
    std::optional<long long> Volume;            // shares
    std::optional<long long> SharesThousands;   // shares outstanding in thousands
};

// One row of an option chain page. The six figures are the parser's six values in page order.
struct OptionPageRow {
    std::string Symbol; // root + month letter + strike letter
    int Side = 0;       // 0 call, 1 put
    double Strike = 0;  // dollars; shown, not parsed
    double Last = 0, Change = 0, Bid = 0, Ask = 0; // dollars
    long long Volume = 0, OpenInterest = 0;
};

// Strikes served around `last`: the screener's five plus two below and two above, ascending, none
// below 5 dollars. Their letters are distinct, so no row can take another's slot.
std::vector<double> StrikeLadder(double last);

// The tick ("Up"/"Down") and percent change follow from the net change (and previous close).
std::string StockPageMarkup(const StockPageFigures& figures);

// The chain page of `symbol`, headed by its name and last sale, with `rows` in the order given.
std::string OptionPageMarkup(std::string_view symbol, std::string_view companyName, double lastSale,
                             const std::vector<OptionPageRow>& rows);

// The server's "busy" answer: the screener gives the symbol up without retrying.
std::string TryAgainPage(std::string_view symbol);

// The option page of a symbol the server does not know: the screener stores no options.
std::string SymbolNotFoundPage(std::string_view symbol);

// Prices as the pages show them: rounded to cents.
double Cents(double value);
