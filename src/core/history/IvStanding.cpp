#include "core/history/IvStanding.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

IvStanding StandingOf(double today, std::span<const double> pastYear)
{
    IvStanding standing;
    if (pastYear.size() < FewestDaysForStanding) return standing;
    const auto [lowest, highest] = std::minmax_element(pastYear.begin(), pastYear.end());
    if (*highest > *lowest) standing.Rank = (today - *lowest) / (*highest - *lowest) * 100;
    const auto lower = std::count_if(pastYear.begin(), pastYear.end(), [&](double v) { return v < today; });
    standing.Percentile = static_cast<double>(lower) / static_cast<double>(pastYear.size()) * 100;
    return standing;
}

namespace {

std::optional<std::string> DaysBefore(const std::string& date, int count)
{
    int year = 0;
    unsigned month = 0, day = 0;
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' ||
        std::from_chars(date.data(), date.data() + 4, year).ptr != date.data() + 4 ||
        std::from_chars(date.data() + 5, date.data() + 7, month).ptr != date.data() + 7 ||
        std::from_chars(date.data() + 8, date.data() + 10, day).ptr != date.data() + 10)
        return std::nullopt;
    const std::chrono::year_month_day end{std::chrono::year{year}, std::chrono::month{month},
                                          std::chrono::day{day}};
    if (!end.ok()) return std::nullopt;
    const std::chrono::year_month_day earlier{std::chrono::sys_days{end} - std::chrono::days{count}};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(earlier.year()),
                  static_cast<unsigned>(earlier.month()), static_cast<unsigned>(earlier.day()));
    return std::string(text);
}

} // namespace

std::optional<std::string> FirstDayOfYearEndingOn(const std::string& date) { return DaysBefore(date, 364); }

IvStanding StandingOfDay(HistoryStore& store, const HistoryDay& day)
{
    const std::optional<double> today = DayVolatility(day);
    const std::optional<std::string> first = FirstDayOfYearEndingOn(day.Date);
    if (!today || !first) return {};
    // The stored row of the date itself, if any, is `day`: a replay of that date's quotes may
    // solve them with other settings.
    std::vector<double> pastYear = store.Volatilities(day.Symbol, *first, *DaysBefore(day.Date, 1));
    pastYear.push_back(*today);
    return StandingOf(*today, pastYear);
}
