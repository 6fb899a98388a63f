#include "core/history/HistoryDay.h"

namespace {

std::optional<float> Present(float value)
{
    return value >= 0 ? std::optional<float>(value) : std::nullopt;
}

} // namespace

HistoryDay HistoryDayOf(const QuoteData& quote, const std::string& symbol, const std::string& date)
{
    HistoryDay day;
    day.Date = date;
    day.Symbol = symbol;
    day.LastSale = quote.Stock.LastSale;
    day.QVAC = Present(quote.QVA.QVAAverage[Calls]);
    day.QVAP = Present(quote.QVA.QVAAverage[Puts]);
    std::size_t slot = 0;
    for (int side : {Calls, Puts}) {
        for (int position = 1; position <= 3; ++position) {
            for (int expiration = 0; expiration < 2; ++expiration) {
                HistoryOption& option = day.Options[slot++];
                option.Side = side;
                option.StrikePosition = position;
                option.Expiration = expiration;
                option.Strike = quote.Strikes.StrikePrice[position];
                option.DaysToGo = quote.Calendar.DaysToExpiry[expiration];
                option.ImpliedVolatility = Present(quote.Series.OptQVA[side][position][expiration]);
                option.Volume = Present(quote.Series.OptVolume[side][position][expiration]);
                option.OpenInterest = Present(quote.Series.OptOpenInterest[side][position][expiration]);
            }
        }
    }
    return day;
}

std::optional<double> DayVolatility(const HistoryDay& day) { return DayVolatility(day.QVAC, day.QVAP); }

std::optional<double> DayVolatility(std::optional<float> qvac, std::optional<float> qvap)
{
    if (qvac && qvap) return (static_cast<double>(*qvac) + *qvap) / 2;
    if (qvac) return *qvac;
    if (qvap) return *qvap;
    return std::nullopt;
}
