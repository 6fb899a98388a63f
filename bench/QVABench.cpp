#include <benchmark/benchmark.h>

#include "core/quotes/OptionCalendar.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/Pricing.h"
#include "core/quotes/QVA.h"

namespace {

// A $47.30 stock with all 12 screened options quoted (a spread around the model price at
// volatilities from 18 % to 62 %), weighted by volume, with the option criteria in force.
QuoteData TwelveValidOptions(const UserSettings& settings)
{
    QuoteData quote;
    quote.Stock.LastSale = 47.3f;
    quote.Stock.YieldPercent = 1.2f;
    quote.Stock.OptionRoot = "QLN";
    quote.Calendar = BuildExpirationCalendar({2026, 3, 2, 14, 30, 0});
    quote.Strikes = SelectStrikes(quote.Stock.LastSale);
    float sigma = 0.18f;
    for (const Side side : BothSides)
        for (const int strike : ShownStrikes)
            for (const int expiration : ShownExpirations) {
                ModelInputs model;
                model.ModelStockPrice = quote.Stock.LastSale;
                model.ModelStrike = quote.Strikes.StrikePrice[strike];
                model.InterestRate = settings.InterestRate;
                model.ModelDividendRate = quote.Stock.YieldPercent / 100;
                model.ModelDaysToExpiry = quote.Calendar.DaysToExpiry[expiration];
                model.ModelVolatility = sigma;
                const float price = OptionValue(model, side);
                quote.Series.OptLast[side][strike][expiration] = price;
                quote.Series.OptBid[side][strike][expiration] = price * 0.97f;
                quote.Series.OptAsk[side][strike][expiration] = price * 1.03f;
                quote.Series.OptVolume[side][strike][expiration] = 120;
                quote.Series.OptOpenInterest[side][strike][expiration] = 900;
                sigma += 0.04f;
            }
    return quote;
}

void ComputeQVAForTwelveOptions(benchmark::State& state)
{
    UserSettings settings;
    settings.InterestRate = 0.045f;
    settings.DrvQVAfrom = 3;
    settings.MinOptVol = Criterion::Number(10);
    settings.MinOptPctVol = Criterion::Number(5);
    settings.MinQVAC = Criterion::Number(30);
    QuoteData quote = TwelveValidOptions(settings);
    for (auto _ : state) {
        ComputeQVA(quote, settings);
        benchmark::DoNotOptimize(quote.QVA);
    }
    if (quote.QVA.QVAAverage[Calls] < 0 || quote.QVA.QVAAverage[Puts] < 0)
        state.SkipWithError("the options were not averaged");
}
BENCHMARK(ComputeQVAForTwelveOptions)->Unit(benchmark::kMicrosecond);

} // namespace
