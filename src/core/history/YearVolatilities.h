#pragma once
// A symbol's year of day volatilities (see DayVolatility) as History.db keeps it beside the days, so
// that a pass reads one short row per symbol instead of every stored day.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct DatedVolatility {
    std::int32_t Day = 0; // DayNumberOf the day's date
    double Volatility = 0;
};

inline constexpr std::size_t BytesPerDatedVolatility = 4 + 8;

// BytesPerDatedVolatility a day in the order given: the day number as a little-endian int32, then the volatility
// as a little-endian IEEE 754 float64, so that a store reads the same on any machine.
std::string EncodeYearVolatilities(std::span<const DatedVolatility> days);
// The days of an encoded year into `days` (replacing what it held, its room reused); false when
// the text is not a whole number of days.
[[nodiscard]] bool DecodeYearVolatilities(std::string_view encoded, std::vector<DatedVolatility>& days);
