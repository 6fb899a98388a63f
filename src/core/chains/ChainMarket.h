#pragma once
// Real option chains as quote pages: the stock page and the option chain page of a symbol, built
// from an indexed chain file (and a stock file when there is one) in the page layout the screener
// reads. The quote server serves them; the import parses them as a live pass would.
//
// The stock's last sale is the stock file's, else the midpoint of the underlying's quotes in the
// chain file. The option page holds the file's options of every expiration the calendar places, at
// the strikes of the ladder around that last sale; the option symbols follow the program's own
// month and strike letters. An option missing from the file is missing from the page.

#include <string>
#include <unordered_map>
#include <variant>

#include "core/chains/ChainIndex.h"
#include "core/quotes/QuoteData.h"
#include "core/quotes/QuotePageMarkup.h"

class ChainMarket {
public:
    // `stocks` may be empty (no stock file). `now` gives the calendar the index was placed in.
    ChainMarket(ChainIndex chains, std::unordered_map<std::string, StockPageFigures> stocks, const LocalDateTime& now);

    std::string StockPage(const std::string& symbol) const;
    std::string OptionPage(const std::string& symbol) const;

    // The option rows that OptionPage shows, in page order.
    std::vector<OptionPageRow> OptionRows(const std::string& symbol) const;
    // The stock page's figures: the last sale rounded to cents, or absent when nothing gives it.
    StockPageFigures Figures(const std::string& symbol) const;

    std::size_t SymbolCount() const;

private:
    ChainIndex chains_;
    std::unordered_map<std::string, StockPageFigures> stocks_;
    ExpirationCalendar calendar_;
};

// The chain file of `request` (every symbol when request.Symbols is empty) and the stock file at
// `stocksPath` (none when empty) as a market. `notes` receives what the user should hear about
// rows skipped or passed over. A message naming the file when either cannot be used.
std::variant<ChainMarket, std::string> LoadChainMarket(const ChainFileRequest& request, const std::string& stocksPath,
                                                       std::string& notes);
