#include "core/history/IvStanding.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/history/DayNumber.h"

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
    const std::optional<std::int32_t> day = DayNumberOf(date);
    if (!day) return std::nullopt;
    return DateOfDayNumber(*day - count);
}

} // namespace

std::optional<std::string> FirstDayOfYearEndingOn(const std::string& date)
{
    return DaysBefore(date, RankedDaysBefore);
}

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
    if (!today || !DayNumberOf(day.Date)) return {};
    const std::span<const double> stored = pastYear.Of(day.Symbol);
    return StandingWithToday(*today, std::vector<double>(stored.begin(), stored.end()));
}
