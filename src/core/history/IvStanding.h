#pragma once
// IV rank and IV percentile of a day's implied volatility against the symbol's own stored days.

#include <optional>
#include <span>
#include <string>

#include "core/history/HistoryStore.h"

// Days of history needed before rank and percentile mean anything.
inline constexpr std::size_t FewestDaysForStanding = 20;

struct IvStanding {
    std::optional<double> Rank;       // 0..100: (today - lowest) / (highest - lowest) x 100
    std::optional<double> Percentile; // 0..100: share of the days with a lower value, x 100
};

// `pastYear` holds the volatilities of the stored days of the last 52 weeks, today's included.
// Fewer than FewestDaysForStanding days leave both empty; a flat year (highest == lowest) leaves
// the rank empty.
IvStanding StandingOf(double today, std::span<const double> pastYear);

// The first day of the 52 weeks that end on `date` ("YYYY-MM-DD"): 364 days before it. Nothing
// when `date` is not a valid date.
std::optional<std::string> FirstDayOfYearEndingOn(const std::string& date);

// The standing of the day's volatility (see DayVolatility) among the symbol's stored days of the 52
// weeks ending on its date, the day itself counted whether stored or not; one query. Empty when
// the day has no volatility or no valid date.
IvStanding StandingOfDay(HistoryStore& store, const HistoryDay& day);

// The stored days that every symbol of a pass on `date` is ranked against, with one query; empty
// when `date` is not a valid date.
VolatilitiesBySymbol PastYearOfAll(HistoryStore& store, const std::string& date);
// StandingOfDay against those days, read once for the pass rather than queried per symbol.
IvStanding StandingOfDay(const VolatilitiesBySymbol& pastYear, const HistoryDay& day);
