#pragma once
// A symbol with a full quote and a partly filled option window, the shape of a typical saved block,
// and the helpers that reshape its option series in a test.

#include <string>

#include "core/SharedState.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/Pricing.h"

template <class T>
inline void FillSeries(SeriesArray<T>& values, T value)
{
    for (auto& side : values)
        for (auto& strike : side) strike.fill(value);
}

// The quote record as it stands after a symbol whose option page gave nothing.
inline void ClearOptions(QuoteData& quote)
{
    for (auto* column : {&quote.Series.OptLast, &quote.Series.OptValue2, &quote.Series.OptBid,
                         &quote.Series.OptAsk, &quote.Series.OptVolume, &quote.Series.OptOpenInterest,
                         &quote.Series.OptQVA})
        FillSeries(*column, -1.0f);
    FillSeries(quote.Series.OptNote, OptionNote::NotIncluded);
    FillSeries(quote.Series.OptSymbol, std::string());
    quote.QVA = QVAResults{};
}

inline void SetOption(QuoteData& quote, int side, int s, int e, float last, float bid, float ask,
                      float volume, float openInterest, float qva, std::int16_t note)
{
    OptionSeries& series = quote.Series;
    series.OptLast[side][s][e] = last;
    series.OptBid[side][s][e] = bid;
    series.OptAsk[side][s][e] = ask;
    series.OptVolume[side][s][e] = volume;
    series.OptOpenInterest[side][s][e] = openInterest;
    series.OptQVA[side][s][e] = qva;
    series.OptNote[side][s][e] = static_cast<OptionNote>(note);
}

// The price at which the model values an option of `quote` at volatility `sigma`: the QVA
// computation solves an option quoted at this price back to `sigma`.
inline float ModelPrice(const QuoteData& quote, float interestRate, int side, int s, int e, float sigma)
{
    ModelInputs model;
    model.ModelStockPrice = quote.Stock.LastSale;
    model.ModelStrike = quote.Strikes.StrikePrice[s];
    model.InterestRate = interestRate;
    model.ModelDividendRate = quote.Stock.YieldPercent / 100;
    model.ModelDaysToExpiry = quote.Calendar.DaysToExpiry[e];
    model.ModelVolatility = sigma;
    return OptionValue(model, static_cast<Side>(side));
}

// A $50 stock yielding 1 % on 1 February 2026: expirations 21 February (20 days) and 21 March
// (48 days), strikes 40 45 50 55 60 (letters H I J K L), every option value absent.
inline QuoteData BareQuote()
{
    QuoteData quote;
    quote.Stock.LastSale = 50;
    quote.Stock.YieldPercent = 1;
    quote.Stock.OptionRoot = "XYZ";
    quote.Calendar = BuildExpirationCalendar({2026, 2, 1, 12, 0, 0});
    quote.Strikes = SelectStrikes(50);
    ClearOptions(quote);
    return quote;
}

// A symbol with a full quote and a partly filled option window, the shape of a typical saved block.
inline void FillExample(SharedState& state)
{
    state.Run.SavedCount = 2;
    state.Run.SymbolIndex = 17;
    state.Symbols.SymbolCount = 250;
    state.Run.CurrentSymbol = "QRX";
    state.Settings.InterestRate = 0.05f;
    state.Settings.DrvQVAfrom = 3;

    StockQuote& stock = state.Quote.Stock;
    stock.OptionRoot = "QRX";
    stock.CompanyName = "QUARRIX INDUSTRIES INC";
    stock.LastTick = "UP";
    stock.Exchange = "NYSE";
    stock.TimeOfLastSale = "15:59";
    stock.SizeBidAsk = "5x10";
    stock.ExDividendDate = "05/12/99";
    stock.LastSale = 45.375f;
    stock.BidPrice = 45.25f;
    stock.AskPrice = 45.5f;
    stock.NetChange = 1.125f;
    stock.PercentChange = 2.54f;
    stock.OpenPrice = 44.25f;
    stock.HighPrice = 45.75f;
    stock.LowPrice = 44.0f;
    stock.PreviousClose = 44.25f;
    stock.High52Week = 60.5f;
    stock.Low52Week = 30.125f;
    stock.Dividend = 0.8f;
    stock.YieldPercent = 1.76f;
    stock.Volatility = 1.15f;
    stock.EarningsPerShare = 2.1f;
    stock.PriceEarnings = 21.607f;
    stock.Volume = 1234500;
    stock.SharesOutstanding = 150250000.0;

    ExpirationCalendar& calendar = state.Quote.Calendar;
    calendar.ExpiryMonth[0] = 4;
    calendar.ExpiryDay[0] = 17;
    calendar.DaysToExpiry[0] = 12;
    calendar.ExpiryMonth[1] = 5;
    calendar.ExpiryDay[1] = 21;
    calendar.DaysToExpiry[1] = 47;
    calendar.ExpiryMonthCode[Calls][0] = 'E';
    calendar.ExpiryMonthCode[Calls][1] = 'F';
    calendar.ExpiryMonthCode[Puts][0] = 'Q';
    calendar.ExpiryMonthCode[Puts][1] = 'R';

    state.Quote.Strikes.StrikePrice = {35.0f, 40.0f, 45.0f, 50.0f, 55.0f};
    state.Quote.Strikes.StrikeCode = {'G', 'H', 'I', 'J', 'K'};

    QuoteData& quote = state.Quote;
    ClearOptions(quote);
    SetOption(quote, Calls, 1, 0, 5.625f, 5.5f, 5.75f, 120, 3400, 0.3125f, 1);
    SetOption(quote, Calls, 2, 0, 1.25f, 1.125f, 1.375f, 860, 5200, 0.2871f, 2);
    SetOption(quote, Calls, 2, 1, 2.5f, 2.375f, 2.625f, 45, 1100, 0.2802f, 1);
    SetOption(quote, Calls, 3, 0, 0.0625f, 0.0f, 0.125f, 0, 900, -1.0f, 0);
    SetOption(quote, Puts, 1, 1, 0.375f, 0.3125f, 0.4375f, 10, 250, 0.3301f, 1);
    SetOption(quote, Puts, 2, 0, 0.875f, 0.75f, 1.0f, 300, 2700, 0.2699f, 1);
    SetOption(quote, Puts, 3, 0, 4.75f, 4.5f, -1.0f, 15, 600, -1.0f, 0);
    quote.Series.OptSymbol[Calls][1][0] = "QRXEH";
    quote.Series.OptSymbol[Puts][2][0] = "QRXQI";
    quote.QVA.QVAAverage = {0.3012f, 0.2874f};
    quote.QVA.WeightVolume = {1025, 325};
    quote.QVA.WeightOpenInterest = {9700, 3550};
}
