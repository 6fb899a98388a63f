#pragma once
// The two charts of a symbol from the core's chart data, in the colours of a palette (the
// platform's, so that a dark desktop gets dark charts). Tests read them through their series.

#include <QChart>
#include <QPalette>
#include <memory>

#include "core/history/SymbolChart.h"

// Series names, as the legend shows them and tests look them up.
inline constexpr const char* LastSaleSeriesName = "Last sale";
inline constexpr const char* HistorySeriesName = "IV";
inline constexpr const char* YearHighSeriesName = "52-week high";
inline constexpr const char* YearLowSeriesName = "52-week low";

// "Calls, 11 days": the smile line of one side and expiration.
QString SmileSeriesName(const SmileLine& line);

// Implied volatility (%) against strike ($): one line per side and expiration, and the last sale
// as a vertical line across the chart.
std::unique_ptr<QChart> SmileChart(const SymbolChart& data, const QPalette& palette);

// The day volatility (%) of the 52 weeks, a point per stored day, with the year's high and low as
// horizontal lines; the title gives today's IV rank and percentile ("n/a" before 20 days).
std::unique_ptr<QChart> HistoryChart(const SymbolChart& data, const QPalette& palette);
