#include "core/quotes/QuoteRecord.h"

#include "core/quotes/OptionCalendar.h"

namespace {

template <class T>
void Fill(SeriesArray<T>& column, const T& value)
{
    for (auto& strikes : column)
        for (auto& expirations : strikes) expirations.fill(value);
}

void ClearOptionSeries(OptionSeries& series)
{
    Fill(series.OptSymbol, std::string());
    for (auto column : {&OptionSeries::OptLast, &OptionSeries::OptValue2, &OptionSeries::OptBid,
                        &OptionSeries::OptAsk, &OptionSeries::OptVolume,
                        &OptionSeries::OptOpenInterest, &OptionSeries::OptQVA})
        Fill(series.*column, -1.0f);
    Fill(series.OptNote, OptionNote::NotIncluded);
}

} // namespace

void ClearQuoteRecord(QuoteData& quote, const LocalDateTime& now)
{
    quote.Stock = StockQuote{}; // texts empty (OptionRoot too), numbers 0
    quote.Calendar = BuildExpirationCalendar(now);
    quote.QVA = QVAResults{};   // averages and weight sums -1
    ClearOptionSeries(quote.Series);
}
