#pragma once
// One symbol's quotes of one quote date as the history store keeps them: the stock's last sale,
// the two QVA averages and the 12 options of the window with their implied volatilities.

#include <array>
#include <optional>
#include <string>

#include "core/quotes/QuoteData.h"

// One option of the window. Absent figures are empty, never -1 or 0.
struct HistoryOption {
    int Side = Calls;             // Calls or Puts
    int StrikePosition = 1;       // 1..3, as in the strike table
    int Expiration = 0;           // 0 the nearest, 1 the next
    float Strike = 0;             // dollars
    int DaysToGo = 0;             // calendar days to the expiration
    std::optional<float> ImpliedVolatility; // fraction per year
    std::optional<float> Volume, OpenInterest;
};

struct HistoryDay {
    std::string Date;   // "YYYY-MM-DD", the quote date
    std::string Symbol;
    float LastSale = 0; // dollars
    std::optional<float> QVAC, QVAP; // fractions per year
    std::array<HistoryOption, 12> Options;
};

// The day of `quote` (after ComputeQVA) for the history store.
HistoryDay HistoryDayOf(const QuoteData& quote, const std::string& symbol, const std::string& date);

// The symbol's implied volatility of a day: the mean of QVAC and QVAP where both exist, else the
// one that exists; nothing when neither does.
std::optional<double> DayVolatility(const HistoryDay& day);
// The same from the two averages alone, for readers of many days that build no HistoryDay.
std::optional<double> DayVolatility(std::optional<float> qvac, std::optional<float> qvap);
