#include "core/quotes/Clock.h"

#include <cstdio>

namespace {

// Writes `value` as `width` digits ending at `end`; false when it needs more or is negative.
bool DigitsBefore(char* end, int value, int width)
{
    for (int i = 0; i < width; ++i, value /= 10) *--end = static_cast<char>('0' + value % 10);
    return value == 0;
}

} // namespace

std::string FormatDateTime(const LocalDateTime& when)
{
    // Spelled out by hand where every field fits its digits: every results block and pass table row
    // carries one, and the general formatting would cost a tenth of the block.
    std::string text = "0000-00-00 00:00:00";
    const auto fits = [&text](std::size_t end, int value, int width) {
        return value >= 0 && DigitsBefore(text.data() + end, value, width);
    };
    if (fits(4, when.Year, 4) && fits(7, when.Month, 2) && fits(10, when.Day, 2) && fits(13, when.Hour, 2) &&
        fits(16, when.Minute, 2) && fits(19, when.Second, 2))
        return text;
    char general[80];
    std::snprintf(general, sizeof general, "%04d-%02d-%02d %02d:%02d:%02d", when.Year, when.Month, when.Day,
                  when.Hour, when.Minute, when.Second);
    return general;
}

std::string FormatDate(const LocalDateTime& when) { return FormatDateTime(when).substr(0, 10); }

std::optional<LocalDateTime> ParseDateTime(std::string_view text)
{
    if (text.size() != 19) return std::nullopt;
    const std::string copy(text);
    LocalDateTime when;
    char tail = 0;
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &when.Year, &when.Month, &when.Day,
                    &when.Hour, &when.Minute, &when.Second, &tail) != 6)
        return std::nullopt;
    static constexpr int daysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (when.Year % 4 == 0 && when.Year % 100 != 0) || when.Year % 400 == 0;
    if (when.Year < 1900 || when.Month < 1 || when.Month > 12 || when.Day < 1 ||
        when.Day > daysInMonth[when.Month - 1] || (when.Month == 2 && when.Day == 29 && !leap) ||
        when.Hour > 23 || when.Minute > 59 || when.Second > 59)
        return std::nullopt;
    return when;
}
