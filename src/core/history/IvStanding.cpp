#include "core/history/IvStanding.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

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

namespace {

// The stored days a day is ranked against: the 52 weeks ending on its date, less the date itself
// (the day counts whether stored or not: a replay of that date's quotes may solve them with other
// settings). Nothing when the date is not valid.
std::optional<std::pair<std::string, std::string>> StoredSpanOf(const std::string& date)
{
    const std::optional<std::string> first = FirstDayOfYearEndingOn(date);
    if (!first) return std::nullopt;
    return std::make_pair(*first, *DaysBefore(date, 1));
}

IvStanding StandingWithToday(double today, std::vector<double> pastYear)
{
    pastYear.push_back(today);
    return StandingOf(today, pastYear);
}

} // namespace

IvStanding StandingOfDay(HistoryStore& store, const HistoryDay& day)
{
    const std::optional<double> today = DayVolatility(day);
    const auto span = StoredSpanOf(day.Date);
    if (!today || !span) return {};
    return StandingOfDay(store.VolatilitiesOf(day.Symbol, span->first, span->second), day);
}

VolatilitiesBySymbol PastYearOfAll(HistoryStore& store, const std::string& date)
{
    const auto span = StoredSpanOf(date);
    return span ? store.VolatilitiesOfAll(span->first, span->second) : VolatilitiesBySymbol{};
}

IvStanding StandingOfDay(const VolatilitiesBySymbol& pastYear, const HistoryDay& day)
{
    const std::optional<double> today = DayVolatility(day);
    if (!today || !StoredSpanOf(day.Date)) return {};
    const std::span<const double> stored = pastYear.Of(day.Symbol);
    return StandingWithToday(*today, std::vector<double>(stored.begin(), stored.end()));
}
