#pragma once
// What the charts of one symbol show, taken from its day of quotes and its stored history: the
// volatility smile (implied volatility by strike, one line per side and expiration) and the IV
// history of the last 52 weeks with its high, low and today's standing.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/history/HistoryDay.h"
#include "core/history/HistoryStore.h"
#include "core/history/IvStanding.h"

struct SmileLine {
    int Side = Calls;   // Calls or Puts
    int Expiration = 0; // 0 the nearest, 1 the next
    int DaysToGo = 0;
    // (strike in dollars, implied volatility in percent), strikes ascending; an option without a
    // volatility is left out.
    std::vector<std::pair<double, double>> Points;
};

struct HistoryPoint {
    std::string Date;  // "YYYY-MM-DD"
    double Volatility; // percent, see DayVolatility
};

struct SymbolChart {
    std::string Symbol;
    std::string Date; // of today's quotes
    double LastSale = 0;
    std::vector<SmileLine> Smile; // calls near, calls next, puts near, puts next; lines without points left out
    std::vector<HistoryPoint> History; // the 52 weeks ending on Date, today included, ascending
    std::optional<double> YearHigh, YearLow; // of History, percent; nothing without history
    IvStanding Standing;
};

// The charts' data of `today` (its quotes solved), with the symbol's stored days from `store` (none
// when it is closed). A stored row of today's date gives way to `today`.
SymbolChart ChartOfDay(const HistoryDay& today, HistoryStore& store);
