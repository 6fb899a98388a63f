#include "core/chains/ChainMarket.h"

#include <array>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "core/chains/StockFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/OptionWindow.h"

namespace {

constexpr std::size_t MaxLadderStrikes = 9;

// The option of each slot of the page: [expiration][ladder strike][side].
using PageSlots = std::array<std::array<std::array<std::optional<IndexedOption>, 2>, MaxLadderStrikes>, ExpirationCount>;

std::optional<std::size_t> LadderPosition(const std::vector<double>& ladder, float strike)
{
    for (std::size_t i = 0; i < ladder.size(); ++i)
        if (static_cast<float>(ladder[i]) == strike) return i;
    return std::nullopt;
}

// Where a symbol has several roots for one expiration and strike (adjusted contracts, a second
// settlement style), the standard root wins; among equals the later row, as on a page.
void Place(std::optional<IndexedOption>& slot, const IndexedOption& option)
{
    if (!slot || option.StandardRoot || !slot->StandardRoot) slot = option;
}

OptionPageRow PageRow(const IndexedOption& option, const std::string& root, const ExpirationCalendar& calendar)
{
    OptionPageRow row;
    row.Side = option.Side;
    row.Strike = option.Strike;
    row.Symbol = root + calendar.ExpiryMonthCode[option.Side][option.Expiration] + StrikeCodeFor(option.Strike);
    row.Last = option.Last;
    row.Change = option.Change;
    row.Bid = option.Bid;
    row.Ask = option.Ask;
    row.Volume = std::llround(option.Volume);
    row.OpenInterest = std::llround(option.OpenInterest);
    return row;
}

} // namespace

ChainMarket::ChainMarket(ChainIndex chains, std::unordered_map<std::string, StockPageFigures> stocks,
                         const LocalDateTime& now)
    : chains_(std::move(chains)), stocks_(std::move(stocks)), calendar_(BuildExpirationCalendar(now))
{
}

StockPageFigures ChainMarket::Figures(const std::string& symbol) const
{
    StockPageFigures figures;
    if (const auto stock = stocks_.find(symbol); stock != stocks_.end()) figures = stock->second;
    figures.Symbol = symbol;
    if (!figures.LastSale)
        if (const auto chain = chains_.Symbols.find(symbol); chain != chains_.Symbols.end() && chain->second.UnderlyingLast > 0)
            figures.LastSale = chain->second.UnderlyingLast;
    // The ladder must be built from the price the screener reads off the page.
    if (figures.LastSale) figures.LastSale = Cents(*figures.LastSale);
    return figures;
}

std::vector<OptionPageRow> ChainMarket::OptionRows(const std::string& symbol) const
{
    const auto chain = chains_.Symbols.find(symbol);
    const StockPageFigures figures = Figures(symbol);
    if (chain == chains_.Symbols.end() || !figures.LastSale) return {};
    const std::vector<double> ladder = StrikeLadder(*figures.LastSale);
    PageSlots slots{};
    for (const IndexedOption& option : chain->second.Options)
        if (const auto position = LadderPosition(ladder, option.Strike))
            Place(slots[option.Expiration][*position][option.Side], option);
    const std::string root = OptionRootOf(symbol);
    std::vector<OptionPageRow> rows;
    for (const auto& expiration : slots)
        for (const auto& strike : expiration)
            for (const auto& side : strike)
                if (side) rows.push_back(PageRow(*side, root, calendar_));
    return rows;
}

std::string ChainMarket::StockPage(const std::string& symbol) const
{
    return StockPageMarkup(Figures(symbol));
}

std::string ChainMarket::OptionPage(const std::string& symbol) const
{
    if (!chains_.Symbols.contains(symbol) && !stocks_.contains(symbol)) return SymbolNotFoundPage(symbol);
    const StockPageFigures figures = Figures(symbol);
    return OptionPageMarkup(symbol, figures.CompanyName.empty() ? symbol : figures.CompanyName,
                            figures.LastSale.value_or(0), OptionRows(symbol));
}

std::size_t ChainMarket::SymbolCount() const
{
    std::unordered_set<std::string> symbols;
    for (const auto& [symbol, chain] : chains_.Symbols) symbols.insert(symbol);
    for (const auto& [symbol, stock] : stocks_) symbols.insert(symbol);
    return symbols.size();
}

std::variant<ChainMarket, std::string> LoadChainMarket(const ChainFileRequest& request, const std::string& stocksPath,
                                                       std::string& notes)
{
    auto chains = IndexChainFile(request);
    if (auto* refusal = std::get_if<std::string>(&chains)) return *refusal;
    notes += ChainFileNotes(std::get<ChainIndex>(chains), request);
    StockFile stocks;
    if (!stocksPath.empty()) {
        auto read = ReadStockFile(stocksPath);
        if (auto* refusal = std::get_if<std::string>(&read)) return *refusal;
        stocks = std::move(std::get<StockFile>(read));
        notes += stocks.Skipped.Message(stocksPath);
    }
    return ChainMarket(std::move(std::get<ChainIndex>(chains)), std::move(stocks.Stocks), request.Now);
}
