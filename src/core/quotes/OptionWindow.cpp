#include "core/quotes/OptionWindow.h"

namespace {

constexpr std::size_t OptionRootLength = 3;

} // namespace

float ExerciseGain(Side side, float stockPrice, float strike)
{
    return side == Calls ? stockPrice - strike : strike - stockPrice;
}

float IntrinsicValue(Side side, float stockPrice, float strike)
{
    const float gain = ExerciseGain(side, stockPrice, strike);
    return gain > 0 ? gain : 0.0f;
}

float PriceUsed(const OptionSeries& series, std::int16_t drvQVAfrom, Side side, int strike,
                int expiration)
{
    switch (drvQVAfrom) {
    case FromLast: return series.OptLast[side][strike][expiration];
    case FromBid: return series.OptBid[side][strike][expiration];
    case FromAsk: return series.OptAsk[side][strike][expiration];
    default:
        return (series.OptBid[side][strike][expiration] + series.OptAsk[side][strike][expiration]) / 2;
    }
}

bool IsOwnOptionRoot(std::string_view stockSymbol) { return stockSymbol.size() <= OptionRootLength; }

std::string OptionRootOf(std::string_view optionSymbol)
{
    return std::string(optionSymbol.substr(0, OptionRootLength));
}

std::string OptionSymbolOf(const QuoteData& quote, Side side, int strike, int expiration)
{
    const std::string& given = quote.Series.OptSymbol[side][strike][expiration];
    if (!given.empty()) return given;
    std::string symbol = quote.Stock.OptionRoot;
    for (const char code : {quote.Calendar.ExpiryMonthCode[side][expiration], quote.Strikes.StrikeCode[strike]})
        if (code != '\0') symbol += code;
    return symbol;
}
