#pragma once
// A made-up quote cache for replay benchmarks and long-run tests: a program directory with a
// symbol file, a quote cache priced with the screener's own model, and settings that save the
// symbols whose call and put volatilities differ by 3 points or more. The same seed gives the
// same files byte for byte.

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/Pricing.h"
#include "core/quotes/QuoteCache.h"

namespace quote_cache_generator {

// A small linear congruential generator: unlike the standard distributions, its sequence is the
// same with every standard library.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    double Uniform(double low, double high)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }
    int Below(int limit) { return static_cast<int>(Uniform(0, limit)); }

private:
    std::uint32_t state_;
};

// The i-th of the generated symbols, four letters, ascending with i (i below 26^4).
inline std::string SymbolName(int i)
{
    std::string name(4, 'A');
    for (int position = 3; position >= 0; --position, i /= 26) name[position] = static_cast<char>('A' + i % 26);
    return name;
}

inline OptionSeries PricedSeries(const std::string& symbol, float lastSale, const ExpirationCalendar& calendar,
                                 const StrikeTable& strikes, float callVolatility, float putVolatility,
                                 Random& random)
{
    OptionSeries series;
    const std::string root = symbol.substr(0, 3);
    for (const Side side : BothSides)
        for (const int strike : ShownStrikes)
            for (const int expiration : ShownExpirations) {
                ModelInputs model;
                model.ModelStockPrice = lastSale;
                model.ModelStrike = strikes.StrikePrice[strike];
                model.InterestRate = 0.05f;
                model.ModelDaysToExpiry = calendar.DaysToExpiry[expiration];
                model.ModelVolatility = side == Calls ? callVolatility : putVolatility;
                const float value = OptionValue(model, side);
                series.OptSymbol[side][strike][expiration] =
                    root + MonthCodeFor(side, calendar.ExpiryMonth[expiration]) + StrikeCodeFor(model.ModelStrike);
                series.OptLast[side][strike][expiration] = value;
                series.OptValue2[side][strike][expiration] = static_cast<float>(random.Uniform(-0.5, 0.5));
                series.OptBid[side][strike][expiration] = value * 0.98f;
                series.OptAsk[side][strike][expiration] = value * 1.02f;
                series.OptVolume[side][strike][expiration] = static_cast<float>(random.Below(500));
                series.OptOpenInterest[side][strike][expiration] = static_cast<float>(random.Below(3000));
            }
    return series;
}

inline StockQuote GeneratedStock(const std::string& symbol, float lastSale, Random& random)
{
    StockQuote stock;
    stock.CompanyName = "GENERATED " + symbol + " CORP";
    stock.LastTick = "UP";
    stock.Exchange = "NYSE";
    stock.TimeOfLastSale = "16:00";
    stock.SizeBidAsk = "5X3";
    stock.LastSale = lastSale;
    stock.NetChange = static_cast<float>(random.Uniform(-2, 2));
    stock.PercentChange = stock.NetChange * 100 / lastSale;
    stock.BidPrice = lastSale - 0.05f;
    stock.AskPrice = lastSale + 0.05f;
    stock.OpenPrice = stock.HighPrice = stock.LowPrice = stock.PreviousClose = lastSale;
    stock.High52Week = lastSale * 1.5f;
    stock.Low52Week = lastSale * 0.5f;
    stock.Volatility = static_cast<float>(random.Uniform(0.5, 2));
    stock.EarningsPerShare = static_cast<float>(random.Uniform(-1, 5));
    stock.PriceEarnings = stock.EarningsPerShare != 0 ? lastSale / stock.EarningsPerShare : 0;
    stock.Volume = 100000 + random.Below(5000000);
    stock.SharesOutstanding = 1000.0 * (1000 + random.Below(500000));
    return stock;
}

struct GeneratedMarket {
    std::vector<std::string> Symbols; // as in the symbol file
    std::size_t QuoteBytes = 0;
};

// Writes Symbols.sym, Quote.txt and Quillon.--- into `directory` for `symbolCount` symbols (at most
// 26^4): about one in twenty has no record in the cache, one in twenty has no options, one in a
// hundred has a 52-week high equal to its low (its evaluation faults).
inline GeneratedMarket GenerateQuoteCache(const std::string& directory, int symbolCount,
                                          const LocalDateTime& now, std::uint32_t seed = 1)
{
    const FilePaths paths = FilePaths::Build(directory);
    const ExpirationCalendar calendar = BuildExpirationCalendar(now);
    Random random(seed);
    GeneratedMarket market;
    std::string symbolFile;
    std::string cache;
    (void)RemoveFile(paths.FnQuote);
    // Written in pieces, so that generating a large cache does not count in a run's peak memory.
    const auto flush = [&] {
        market.QuoteBytes += cache.size();
        (void)AppendToFile(paths.FnQuote, cache);
        cache.clear();
    };
    for (int i = 0; i < symbolCount; ++i) {
        if (cache.size() > (1u << 20)) flush();
        const std::string symbol = SymbolName(i);
        market.Symbols.push_back(symbol);
        symbolFile += symbol + "\r\n";
        const int kind = random.Below(100);
        const float lastSale = static_cast<float>(static_cast<int>(random.Uniform(5, 150) * 100)) / 100;
        const float callVolatility = static_cast<float>(random.Uniform(0.2, 0.8));
        const float putVolatility = callVolatility + static_cast<float>(random.Uniform(-0.1, 0.1));
        StockQuote stock = GeneratedStock(symbol, lastSale, random);
        if (kind < 5) continue; // never fetched
        if (kind == 5) stock.High52Week = stock.Low52Week;
        cache += StockRecordText(symbol, stock);
        if (kind >= 95) {
            cache += OptionBlockText(nullptr);
            continue;
        }
        const OptionSeries series = PricedSeries(symbol, lastSale, calendar, SelectStrikes(lastSale),
                                                 callVolatility, putVolatility, random);
        cache += OptionBlockText(&series);
    }
    flush();
    (void)ReplaceFile(paths.DefaultFnSym, symbolFile);

    UserSettings settings;
    SetDefaults(settings);
    settings.FnSym = paths.DefaultFnSym;
    settings.GetQuoteFromLocalFile = true;
    settings.MinQVAC_QVAP = Criterion::Number(3);
    settings.MinQVAP_QVAC = Criterion::Number(3);
    (void)WriteSettings(settings, paths.FnSettings);
    return market;
}

} // namespace quote_cache_generator
