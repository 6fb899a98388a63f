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

TEST(BuildExpirationCalendar, WorkedExamples)
{
    struct Row {
        LocalDateTime Now;
        int Position, Month, Day, DaysToExpiry;
        char Call, Put;
        const char* Why;
    };
    const Row rows[] = {
        {{2026, 1, 15, 12, 0, 0}, 0, 0, 17, 2, 'A', 'M', "Thursday the 15th expires that Saturday"},
        {{2026, 1, 15, 12, 0, 0}, 1, 1, 21, 37, 'B', 'N', "February: 17 + 28 - 31 = 14 needs a week more"},
        {{2026, 1, 17, 8, 59, 0}, 0, 0, 17, 1, 'A', 'M', "expiration Saturday before 9:00"},
        {{2026, 1, 17, 9, 0, 0}, 0, 1, 21, 35, 'B', 'N', "expiration Saturday from 9:00"},
        {{2027, 3, 25, 12, 0, 0}, 10, 1, 19, 331, 'B', 'N', "February of the coming leap year"},
        {{2027, 3, 25, 12, 0, 0}, 11, 2, 18, 359, 'C', 'O', "right only when February 2028 has 29 days"},
        {{2026, 12, 28, 12, 0, 0}, 0, 0, 16, 19, 'A', 'M', "December rolls into January"},
        {{2026, 12, 28, 12, 0, 0}, 11, 11, 18, 355, 'L', 'X', "and reaches the next December"},
    };
    for (const Row& row : rows) {
        const ExpirationCalendar calendar = BuildExpirationCalendar(row.Now);
        const int i = row.Position;
        EXPECT_EQ(calendar.ExpiryMonth[i], row.Month) << row.Why;
        EXPECT_EQ(calendar.ExpiryDay[i], row.Day) << row.Why;
        EXPECT_EQ(calendar.DaysToExpiry[i], row.DaysToExpiry) << row.Why;
        EXPECT_EQ(calendar.ExpiryMonthCode[Calls][i], row.Call) << row.Why;
        EXPECT_EQ(calendar.ExpiryMonthCode[Puts][i], row.Put) << row.Why;
    }
}

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

TEST(SelectStrikes, FollowsTheWorkedExamples)
{
    struct Row {
        float LastSale;
        std::array<float, 5> Strikes;
        const char* Codes;
        const char* Why;
    };
    const Row rows[] = {
        {47.5f, {40, 45, 50, 55, 60}, "HIJKL", "steps of 5 from 30 on"},
        {24, {20, 22.5f, 25, 30, 35}, "DXEFG", "centre 25: 2.5 below 30, 5 from 25 up"},
        {12, {7.5f, 10, 12.5f, 15, 17.5f}, "UBVCW", "R(26.5) is 26 (half to even), still centre 12.5"},
        {8, {5, 7.5f, 10, 12.5f, 15}, "AUBVC", "below 10: the fixed lowest strikes"},
        {9.99f, {5, 7.5f, 10, 12.5f, 15}, "AUBVC", "just below 10"},
        {10, {5, 7.5f, 10, 12.5f, 15}, "AUBVC", "10 already uses the centre rule"},
        {23.75f, {20, 22.5f, 25, 30, 35}, "DXEFG", "multiple-of-5 rule: R(26.25) = 26, centre 25"},
        {23.7f, {20, 22.5f, 25, 30, 35}, "DXEFG", "multiple-of-2.5 rule: R(49.9) = 50, centre 25"},
        {22.4f, {17.5f, 20, 22.5f, 25, 30}, "WDXEF", "R(47.3) = 47, 47 \\ 5 = 9, centre 22.5"},
        {16, {10, 12.5f, 15, 17.5f, 20}, "BVCWD", "R(34.5) = 34 (half to even), centre 15"},
        {42, {30, 35, 40, 45, 50}, "FGHIJ", "R(44.5) = 44 (half to even), centre 40"},
        {27, {22.5f, 25, 30, 35, 40}, "XEFGH", "centre 30: 5 below from 30 on, 2.5 below 25"},
        {212.6f, {205, 210, 215, 220, 225}, "ABCDE", "beyond 100: R(215.1) = 215"},
        {std::nanf(""), {5, 7.5f, 10, 12.5f, 15}, "AUBVC", "an unreadable price"},
    };
    for (const Row& row : rows) {
        const StrikeTable table = SelectStrikes(row.LastSale);
        EXPECT_EQ(table.StrikePrice, row.Strikes) << row.LastSale << ": " << row.Why;
        EXPECT_EQ(std::string(table.StrikeCode.begin(), table.StrikeCode.end()), row.Codes) << row.LastSale;
    }
}

TEST(StrikeCodeFor, LetterTable)
{
    struct Row {
        float Strike;
        char Code;
    };
    const Row rows[] = {
        {5, 'A'},     {7.5f, 'U'},  {10, 'B'},   {12.5f, 'V'}, {15, 'C'},     {17.5f, 'W'},
        {20, 'D'},    {22.5f, 'X'}, {25, 'E'},   {27.5f, 'E'}, {30, 'F'},     {95, 'S'},
        {100, 'T'},   {105, 'A'},   {107.5f, 'U'}, {110, 'B'}, {200, 'T'},    {1025, 'E'},
        // Strikes without a letter.
        {2.5f, '\0'}, {102.5f, '\0'}, {0, '\0'}, {std::nanf(""), '\0'}, {INFINITY, '\0'},
        // Far beyond float's whole-number precision, stepping down by 100 would never end.
        {3e9f, 'T'},
    };
    for (const Row& row : rows) EXPECT_EQ(StrikeCodeFor(row.Strike), row.Code) << row.Strike;
}
