#pragma once
// Quote cache records for replay tests: every number of a record distinct, so a value read into
// the wrong field or left out shows.

#include <string>

#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteData.h"

// A stock quote whose sixteen prices count up from `lastSale` in steps of one.
inline StockQuote StockOf(float lastSale, const std::string& name = "ACME WIDGETS")
{
    StockQuote stock;
    stock.CompanyName = name;
    stock.LastTick = "UP";
    stock.Exchange = "NYSE";
    stock.TimeOfLastSale = "15:59";
    stock.SizeBidAsk = "5X7";
    stock.ExDividendDate = "01/02/26";
    float value = lastSale;
    for (float* field : {&stock.LastSale, &stock.NetChange, &stock.PercentChange, &stock.BidPrice,
                         &stock.AskPrice, &stock.OpenPrice, &stock.HighPrice, &stock.LowPrice,
                         &stock.PreviousClose, &stock.High52Week, &stock.Low52Week, &stock.Volatility,
                         &stock.Dividend, &stock.EarningsPerShare, &stock.PriceEarnings, &stock.YieldPercent})
        *field = value++;
    stock.Volume = 1234567;
    stock.SharesOutstanding = 987654000;
    return stock;
}

// Every slot filled: symbol `root` + expiration letter + strike letter ("A" for the first), and
// values side * 100 + strike * 10 + expiration.
inline OptionSeries SeriesOf(const std::string& root)
{
    OptionSeries series;
    for (int side : {Calls, Puts})
        for (int strike = 0; strike < StrikeCount; ++strike)
            for (int expiration = 0; expiration < SeriesExpirations; ++expiration) {
                series.OptSymbol[side][strike][expiration] =
                    root + static_cast<char>('A' + expiration) + static_cast<char>('A' + strike);
                for (auto column : OptionRowValues)
                    (series.*column)[side][strike][expiration] =
                        static_cast<float>(side * 100 + strike * 10 + expiration);
            }
    return series;
}

// The cache record of `symbol`: its stock record, then the option block of `series` or, for none,
// the block that says "NO".
inline std::string RecordOf(const std::string& symbol, float lastSale, const OptionSeries* series)
{
    return StockRecordText(symbol, StockOf(lastSale)) + OptionBlockText(series);
}

inline std::string RecordOf(const std::string& symbol, float lastSale = 45.5f)
{
    const OptionSeries series = SeriesOf("QR");
    return RecordOf(symbol, lastSale, &series);
}
