// ParseStockPage: the labelled figures of a stripped stock quote page, and the stock record.

#include <algorithm>
#include <string_view>

#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/PageScanner.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"

namespace {

constexpr float MinimumLastSale = 0.125f; // an eighth of a dollar
constexpr int CompanyNameLength = 36;
constexpr int ShortTextLength = 10;
constexpr double SharesPerPageUnit = 1000; // the page gives shares outstanding in thousands

struct TextLabel {
    std::string_view Label;
    std::string StockQuote::*Field;
};

struct PriceLabel {
    std::string_view Label;
    float StockQuote::*Field;
};

constexpr TextLabel TextLabels[] = {
    {"TICK", &StockQuote::LastTick},
    {"EXCHANGE", &StockQuote::Exchange},
    {"TIME OF LAST SALE", &StockQuote::TimeOfLastSale},
    {"SIZE BID/ASK", &StockQuote::SizeBidAsk},
    {"EX-DIVIDEND DATE", &StockQuote::ExDividendDate},
};

// Every price label but the last sale (read first, it decides whether the page is usable) and the
// dividend (two labels for one field).
constexpr PriceLabel PriceLabels[] = {
    {"NET CHANGE", &StockQuote::NetChange},
    {"PERCENT CHANGE", &StockQuote::PercentChange},
    {"BID", &StockQuote::BidPrice},
    {"ASK", &StockQuote::AskPrice},
    {"OPEN", &StockQuote::OpenPrice},
    {"HIGH", &StockQuote::HighPrice},
    {"LOW", &StockQuote::LowPrice},
    {"PREVIOUS CLOSE", &StockQuote::PreviousClose},
    {"52 WEEK HIGH", &StockQuote::High52Week},
    {"52 WEEK LOW", &StockQuote::Low52Week},
    {"VOLITILITY", &StockQuote::Volatility}, // spelled so on the page
    {"EPS", &StockQuote::EarningsPerShare},
    {"P/E", &StockQuote::PriceEarnings},
    {"YIELD", &StockQuote::YieldPercent},
};

// Keeps the text from the cursor on, so later searches start below what was already read.
void CutPageAtCursor(PageBuffer& page)
{
    const auto index = static_cast<std::size_t>(page.PageCursor - 1);
    page.PageText.erase(0, std::min(index, page.PageText.size()));
    page.PageCursor = 1;
}

// The company name stands on the line after "TRADE", somewhere below "SEC FILINGS".
void ReadCompanyName(PageBuffer& page, StockQuote& stock)
{
    if (!FindLabelLine(page, "SEC FILINGS")) return;
    CutPageAtCursor(page);
    if (!FindLabelLine(page, "TRADE")) return;
    if (auto name = ReadTextField(page, CompanyNameLength)) stock.CompanyName = std::move(*name);
    CutPageAtCursor(page);
}

// Each field is assigned only when its label is found and its value reads; otherwise it keeps
// its cleared value and the next label is tried.
void ReadLabelledFigures(PageBuffer& page, StockQuote& stock)
{
    for (const auto& [label, field] : TextLabels)
        if (FindLabelLine(page, label))
            if (auto text = ReadTextField(page, ShortTextLength)) stock.*field = std::move(*text);

    for (const auto& [label, field] : PriceLabels)
        if (FindLabelLine(page, label))
            if (auto price = ReadPriceValue(page)) stock.*field = *price;

    // Both labels are searched; the value is read behind the later one found, so "DIVIDEND
    // AMOUNT" wins over "INDICATED ANNUAL DIVIDEND" when a page has both.
    const bool indicated = FindLabelLine(page, "INDICATED ANNUAL DIVIDEND");
    const bool amount = FindLabelLine(page, "DIVIDEND AMOUNT");
    if (indicated || amount)
        if (auto price = ReadPriceValue(page)) stock.Dividend = *price;

    if (FindLabelLine(page, "VOLUME"))
        if (auto volume = ReadWholeNumber(page)) stock.Volume = *volume;
    if (FindLabelLine(page, "SHARES OUTSTANDING"))
        if (auto thousands = ReadPriceValue(page)) stock.SharesOutstanding = *thousands * SharesPerPageUnit;
}

} // namespace

bool ParseStockPage(PageBuffer& page, QuoteData& quote, const std::string& currentSymbol,
                    const std::string& fnQuote, const LocalDateTime& now)
{
    ClearQuoteRecord(quote, now);
    StockQuote& stock = quote.Stock;
    if (page.PageText.find("PLEASE TRY AGAIN") != std::string::npos) return false;

    page.PageCursor = 1;
    ReadCompanyName(page, stock);
    if (FindLabelLine(page, "LAST SALE"))
        if (auto lastSale = ReadPriceValue(page)) stock.LastSale = *lastSale;
    if (!(stock.LastSale >= MinimumLastSale)) return false;

    quote.Strikes = SelectStrikes(stock.LastSale);
    ReadLabelledFigures(page, stock);
    // The page's own P/E is replaced by one that agrees with the last sale read here.
    if (stock.EarningsPerShare != 0) stock.PriceEarnings = stock.LastSale / stock.EarningsPerShare;

    // A cache that cannot be written loses this record; the symbol is still evaluated.
    static_cast<void>(AppendToFile(fnQuote, StockRecordText(currentSymbol, stock)));
    return stock.LastSale > 0;
}
