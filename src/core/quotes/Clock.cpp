#include "core/quotes/Clock.h"

#include <cstdio>

std::string FormatDateTime(const LocalDateTime& when)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.Year, when.Month,
                  when.Day, when.Hour, when.Minute, when.Second);
    return text;
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
