#pragma once
// The quote of the symbol being evaluated and everything derived from it: the stock record, the
// expiration calendar, the strike table, the option series, the QVA results and the pricing model's
// inputs. One instance lives in SharedState; ClearQuoteRecord resets it before each symbol.

#include <array>
#include <cstdint>
#include <string>

struct StockQuote {
    std::string OptionRoot;
    std::string CompanyName; // at most 36 characters
    std::string LastTick, Exchange, TimeOfLastSale, SizeBidAsk, ExDividendDate; // at most 10 each
    std::string SpareText;   // always empty
    // Dollars, except PercentChange and YieldPercent (percent) and Volatility (as on the page).
    float LastSale = 0, NetChange = 0, PercentChange = 0, BidPrice = 0, AskPrice = 0;
    float OpenPrice = 0, HighPrice = 0, LowPrice = 0, PreviousClose = 0;
    float High52Week = 0, Low52Week = 0, Volatility = 0, Dividend = 0;
    float EarningsPerShare = 0, PriceEarnings = 0, YieldPercent = 0;
    std::int32_t Volume = 0;         // shares
    double SharesOutstanding = 0;    // shares (the page gives thousands)
};

inline constexpr int ExpirationCount = 12;
inline constexpr int StrikeCount = 5;
inline constexpr int SeriesExpirations = 3; // the option series keeps the first three expirations
// The first index of every per-side array.
enum Side : int { Calls = 0, Puts = 1 };

// Positions 0..11, 0 the nearest expiration.
struct ExpirationCalendar {
    std::array<std::int16_t, ExpirationCount> ExpiryMonth{};  // 0 January .. 11 December
    std::array<std::int16_t, ExpirationCount> ExpiryDay{};    // day of the expiration Saturday
    std::array<std::int16_t, ExpirationCount> DaysToExpiry{}; // calendar days from the trading day
    // Month letters by side: "ABCDEFGHIJKL" for calls, "MNOPQRSTUVWX" for puts.
    std::array<std::array<char, ExpirationCount>, 2> ExpiryMonthCode{};
};

// Positions 0..4 in ascending strike order; 1..3 are the ones screened and shown.
struct StrikeTable {
    std::array<float, StrikeCount> StrikePrice{};
    std::array<char, StrikeCount> StrikeCode{};
};

// What the QVA computation made of an option, shown as " *0", " *1" or " *1,*2" in the report.
enum class OptionNote : std::int16_t {
    NotIncluded = 0,
    Included = 1,
    MinQVAReached = 2, // included, and reaches Min QVA of its side
};

// Indexed [side][strike position 0..4][expiration 0..2]. -1 marks a value the page did not give.
template <class T>
using SeriesArray = std::array<std::array<std::array<T, SeriesExpirations>, StrikeCount>, 2>;

struct OptionSeries {
    SeriesArray<std::string> OptSymbol;
    SeriesArray<float> OptLast, OptValue2, OptBid, OptAsk, OptVolume, OptOpenInterest;
    SeriesArray<float> OptQVA;       // implied volatility as a fraction, -1 when none accepted
    SeriesArray<OptionNote> OptNote;
};

// Per side (0 calls, 1 puts). QVAAverage is a fraction, -1 when there is none.
struct QVAResults {
    std::array<float, 2> QVAAverage{-1, -1};
    std::array<float, 2> WeightVolume{-1, -1};
    std::array<float, 2> WeightOpenInterest{-1, -1};
};

// Inputs of the pricing model; ModelVolatility is also where the solver leaves its result.
struct ModelInputs {
    float ModelStockPrice = 0;   // S, dollars
    float ModelStrike = 0;       // K, dollars
    float InterestRate = 0;      // r, fraction per year, continuous compounding
    float ModelDividendRate = 0; // q, fraction per year
    std::int16_t ModelDaysToExpiry = 0; // calendar days; T = days / 365
    float ModelVolatility = 0;   // sigma, fraction per year
};

struct QuoteData {
    StockQuote Stock;
    ExpirationCalendar Calendar;
    StrikeTable Strikes;
    OptionSeries Series;
    QVAResults QVA;
    ModelInputs Model;
};
