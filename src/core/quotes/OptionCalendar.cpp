#include "core/quotes/OptionCalendar.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

constexpr int Friday = 5;
constexpr int TradingDayLagHours = 9;

// A calendar date with its weekday (0 Sunday .. 6 Saturday); Month is 0 (January) .. 11.
struct TradingDay {
    int Year;
    int Month;
    int Day;
    int Weekday;
};

} // namespace

std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

namespace {

// The inverse of DaysFromCivil, with the weekday; the result's Month is 0-based.
TradingDay CivilFromDays(std::int64_t days)
{
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2);
    // 1970-01-01 was a Thursday.
    const int weekday = static_cast<int>(((days % 7) + 7 + 4) % 7);
    return {static_cast<int>(year), month - 1, day, weekday};
}

// Until 9:00 in the morning the previous calendar day is still the trading day.
TradingDay TradingDayOf(const LocalDateTime& now) { return CivilFromDays(TradingDayNumber(now)); }

} // namespace

std::int64_t TradingDayNumber(const LocalDateTime& now)
{
    const std::int64_t hours = DaysFromCivil(now.Year, now.Month, now.Day) * 24 + now.Hour;
    const std::int64_t shifted = hours - TradingDayLagHours;
    return shifted >= 0 ? shifted / 24 : (shifted - 23) / 24;
}

namespace {

// February counts 29 days when the next February the calendar reaches lies in a year divisible
// by 4; years divisible by 100 are not treated differently.
std::array<int, 12> DaysPerMonth(const TradingDay& day)
{
    std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int yearRemainder = ((day.Year % 4) + 4) % 4;
    const bool nextFebruaryIsLeap =
        (yearRemainder == 0 && day.Month <= 1) || (yearRemainder == 3 && day.Month >= 2);
    if (nextFebruaryIsLeap) days[1] = 29;
    return days;
}

// Day of the month of the Saturday after the third Friday of the trading day's month.
int ExpirationSaturday(const TradingDay& day)
{
    const int weekdayOfFirst = ((day.Weekday - (day.Day - 1)) % 7 + 7) % 7;
    const int firstFriday = 1 + (Friday - weekdayOfFirst + 7) % 7;
    return firstFriday + 15;
}

// Moves an expiration four weeks on into the next month; a Saturday before the 16th cannot be the
// one after a third Friday, so it needs one more week.
void AdvanceExpiration(std::int16_t& days, std::int16_t& expiryDay, int previousDay,
                       int daysInPreviousMonth)
{
    days = static_cast<std::int16_t>(days + 28);
    int day = previousDay + 28 - daysInPreviousMonth;
    if (day < 16) {
        day += 7;
        days = static_cast<std::int16_t>(days + 7);
    }
    expiryDay = static_cast<std::int16_t>(day);
}

constexpr std::string_view StrikeLetters = "AUBVCWDXEEFFGGHHIIJJKKLLMMNNOOPPQQRRSSTT";

// R(x) of the strike rules: to the nearest integer, halves to even.
double RoundHalfEven(double value)
{
    return std::nearbyint(value);
}

// `whole \ divisor` for the non-negative whole numbers these rules produce.
double WholeQuotient(double whole, double divisor)
{
    return std::floor(whole / divisor);
}

// The sums are formed in double precision, where they are exact, so that only R decides halves.
float CentreStrike(float lastSale)
{
    const double price = lastSale;
    if (lastSale >= 23.75f)
        return static_cast<float>(5 * WholeQuotient(RoundHalfEven(price + 2.5), 5));
    return static_cast<float>(5 * WholeQuotient(RoundHalfEven(2 * price + 2.5), 5) / 2);
}

// Strikes step by 2.5 below the given boundary and by 5 from it on.
float StepUp(float strike)
{
    return strike < 25 ? strike + 2.5f : strike + 5;
}

float StepDown(float strike)
{
    return strike < 30 ? strike - 2.5f : strike - 5;
}

} // namespace

ExpirationCalendar BuildExpirationCalendar(const LocalDateTime& now)
{
    const TradingDay today = TradingDayOf(now);
    const std::array<int, 12> daysPerMonth = DaysPerMonth(today);
    ExpirationCalendar calendar;

    const int expiration = ExpirationSaturday(today);
    calendar.DaysToExpiry[0] = static_cast<std::int16_t>(expiration - today.Day);
    calendar.ExpiryDay[0] = static_cast<std::int16_t>(expiration);
    int firstMonth = today.Month;
    if (calendar.DaysToExpiry[0] <= 0) {
        AdvanceExpiration(calendar.DaysToExpiry[0], calendar.ExpiryDay[0], expiration,
                          daysPerMonth[today.Month]);
        firstMonth = (today.Month + 1) % 12;
    }
    for (int i = 1; i < ExpirationCount; ++i) {
        calendar.DaysToExpiry[i] = calendar.DaysToExpiry[i - 1];
        AdvanceExpiration(calendar.DaysToExpiry[i], calendar.ExpiryDay[i],
                          calendar.ExpiryDay[i - 1], daysPerMonth[(firstMonth + i - 1) % 12]);
    }
    for (int i = 0; i < ExpirationCount; ++i) {
        const int month = (firstMonth + i) % 12;
        calendar.ExpiryMonth[i] = static_cast<std::int16_t>(month);
        calendar.ExpiryMonthCode[Calls][i] = MonthCodeFor(Calls, month);
        calendar.ExpiryMonthCode[Puts][i] = MonthCodeFor(Puts, month);
    }
    return calendar;
}

StrikeTable SelectStrikes(float lastSale)
{
    StrikeTable table;
    auto& strikes = table.StrikePrice;
    // Also the choice for a price that is not a number, so the table always holds real strikes.
    if (!(lastSale >= 10)) {
        strikes = {5, 7.5f, 10, 12.5f, 15};
    } else {
        strikes[2] = CentreStrike(lastSale);
        strikes[3] = StepUp(strikes[2]);
        strikes[4] = StepUp(strikes[3]);
        strikes[1] = StepDown(strikes[2]);
        strikes[0] = StepDown(strikes[1]);
    }
    for (int i = 0; i < StrikeCount; ++i) table.StrikeCode[i] = StrikeCodeFor(strikes[i]);
    return table;
}

char StrikeCodeFor(float strike)
{
    double reduced = strike;
    // Subtracting 100 one step at a time would never end for strikes beyond float's precision.
    if (reduced > 100) reduced -= 100 * std::ceil((reduced - 100) / 100);
    const double position = WholeQuotient(RoundHalfEven(2 * reduced), 5) - 1;
    if (!(position >= 1 && position <= static_cast<double>(StrikeLetters.size()))) return '\0';
    return StrikeLetters[static_cast<std::size_t>(position) - 1];
}

char MonthCodeFor(int side, int month)
{
    constexpr std::string_view callLetters = "ABCDEFGHIJKL";
    constexpr std::string_view putLetters = "MNOPQRSTUVWX";
    const std::string_view letters = side == Calls ? callLetters : putLetters;
    return letters[static_cast<std::size_t>(((month % 12) + 12) % 12)];
}
