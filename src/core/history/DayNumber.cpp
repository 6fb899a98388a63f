#include "core/history/DayNumber.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace {

// The digits of date[begin, end) as a number; nothing when anything else is there.
std::optional<unsigned> DigitsAt(std::string_view date, std::size_t begin, std::size_t end)
{
    unsigned value = 0;
    const char* last = date.data() + end;
    const auto [stop, error] = std::from_chars(date.data() + begin, last, value);
    if (error != std::errc() || stop != last) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int32_t> DayNumberOf(std::string_view date)
{
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return std::nullopt;
    const auto year = DigitsAt(date, 0, 4);
    const auto month = DigitsAt(date, 5, 7);
    const auto day = DigitsAt(date, 8, 10);
    if (!year || !month || !day) return std::nullopt;
    const std::chrono::year_month_day civil{std::chrono::year{static_cast<int>(*year)}, std::chrono::month{*month},
                                            std::chrono::day{*day}};
    if (!civil.ok()) return std::nullopt;
    return static_cast<std::int32_t>(std::chrono::sys_days{civil}.time_since_epoch().count());
}

std::string DateOfDayNumber(std::int32_t day)
{
    const std::chrono::year_month_day civil{std::chrono::sys_days{std::chrono::days{day}}};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(civil.year()),
                  static_cast<unsigned>(civil.month()), static_cast<unsigned>(civil.day()));
    return text;
}
