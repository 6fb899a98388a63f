// The calendar against the standard library's on every day of eight years; its worked examples,
// the strikes and the strike letters are rows of cases/tables/calendar.tsv.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "core/quotes/OptionCalendar.h"

namespace {

using namespace std::chrono;

// The Saturday after the third Friday, from the standard library's calendar rather than ours.
sys_days ReferenceExpiration(year_month month)
{
    return sys_days{month / Friday[3]} + days{1};
}

void ExpectMatchesRealCalendar(const LocalDateTime& now)
{
    const year_month_day date{year{now.Year}, month(now.Month), day(now.Day)};
    const sys_days today = sys_days{date} - days{now.Hour < 9 ? 1 : 0};
    year_month next = year_month_day{today}.year() / year_month_day{today}.month();
    if (ReferenceExpiration(next) <= today) next += months{1};
    const ExpirationCalendar calendar = BuildExpirationCalendar(now);
    for (int i = 0; i < ExpirationCount; ++i, next += months{1}) {
        SCOPED_TRACE(FormatDateTime(now) + " position " + std::to_string(i));
        const year_month_day expiration{ReferenceExpiration(next)};
        ASSERT_EQ(calendar.ExpiryMonth[i], static_cast<int>(unsigned{expiration.month()}) - 1);
        ASSERT_EQ(calendar.ExpiryDay[i], static_cast<int>(unsigned{expiration.day()}));
        ASSERT_EQ(calendar.DaysToExpiry[i], (ReferenceExpiration(next) - today).count());
    }
}

} // namespace

TEST(BuildExpirationCalendar, AgreesWithTheRealCalendarEveryDayOfEightYears)
{
    // 2024..2031 hold two leap years, every weekday on which a month can begin, and every month's
    // turn at 9:00, at midnight and across year ends.
    for (sys_days d = sys_days{2024y / January / 1}; d < sys_days{2032y / January / 1}; d += days{1}) {
        const year_month_day date{d};
        for (int hour : {0, 8, 9, 23})
            ExpectMatchesRealCalendar({static_cast<int>(date.year()), static_cast<int>(unsigned{date.month()}),
                                       static_cast<int>(unsigned{date.day()}), hour, 0, 0});
    }
}
