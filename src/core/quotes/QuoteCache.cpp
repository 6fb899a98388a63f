#include "core/quotes/QuoteCache.h"


#include "core/numbers/NumberText.h"
#include "core/quotes/OptionWindow.h"
#include "core/text/RecordFormat.h"
#include "core/text/TextFile.h"

namespace {

void AppendLine(std::string& text, std::string_view line)
{
    text.append(line);
    text.append(CrLf);
}

std::string OptionLineText(const OptionSeries& series, int side, int strike, int expiration)
{
    std::string line = FormatTextItem(series.OptSymbol[side][strike][expiration]);
    for (const auto column : OptionRowValues) {
        line += ',';
        line += FormatSingle((series.*column)[side][strike][expiration]);
    }
    return line;
}

} // namespace

std::string StockRecordText(std::string_view symbol, const StockQuote& stock)
{
    std::string text;
    AppendLine(text, FormatTextItem(std::string(StockMarker) + std::string(symbol)));
    for (const auto* field : {&stock.CompanyName, &stock.LastTick, &stock.Exchange, &stock.TimeOfLastSale,
                              &stock.SizeBidAsk, &stock.ExDividendDate, &stock.SpareText})
        AppendLine(text, FormatTextItem(*field));
    for (const float value :
         {stock.LastSale, stock.NetChange, stock.PercentChange, stock.BidPrice, stock.AskPrice,
          stock.OpenPrice, stock.HighPrice, stock.LowPrice, stock.PreviousClose, stock.High52Week,
          stock.Low52Week, stock.Volatility, stock.Dividend, stock.EarningsPerShare,
          stock.PriceEarnings, stock.YieldPercent})
        AppendLine(text, FormatSingle(value));
    // A 32-bit count is exact in a double, and FormatDouble writes it without a decimal point.
    AppendLine(text, FormatDouble(stock.Volume));
    AppendLine(text, FormatDouble(stock.SharesOutstanding));
    return text;
}

std::string OptionBlockText(const OptionSeries* series)
{
    std::string text;
    if (!series) {
        AppendLine(text, OptionsNo);
        return text;
    }
    AppendLine(text, OptionsYes);
    for (const Side side : BothSides)
        for (const int strike : ShownStrikes)
            for (const int expiration : ShownExpirations)
                AppendLine(text, OptionLineText(*series, side, strike, expiration));
    return text;
}
