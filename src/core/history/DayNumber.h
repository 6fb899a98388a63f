#pragma once
// The history store's dates ("YYYY-MM-DD") as day numbers, so that spans of days are counted, not
// spelled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Days since 1970-01-01; nothing when `date` is not a valid "YYYY-MM-DD" date.
std::optional<std::int32_t> DayNumberOf(std::string_view date);

// The "YYYY-MM-DD" date of a day number.
std::string DateOfDayNumber(std::int32_t day);
