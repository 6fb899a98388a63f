#include <gtest/gtest.h>

#include <cmath>

#include "quotes/OptionCalendar.h"

namespace {

LocalDateTime At(int year, int month, int day, int hour, int minute = 0)
{
    return {year, month, day, hour, minute, 0};
}

// An independent day count for the reference calendar: the real Gregorian calendar, walked one
// day at a time from 1 January 2000 (a Saturday).
struct Date {
    int Year;
    int Month; // 1..12
    int Day;
};

bool IsGregorianLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int GregorianDaysIn(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsGregorianLeap(year) ? 29 : days[month - 1];
}

int SerialOf(const Date& date)
{
    int serial = 0;
    for (int year = 2000; year < date.Year; ++year) serial += IsGregorianLeap(year) ? 366 : 365;
    for (int month = 1; month < date.Month; ++month) serial += GregorianDaysIn(date.Year, month);
    return serial + date.Day - 1;
}

int WeekdayOf(const Date& date)
{
    return (SerialOf(date) + 6) % 7; // 0 Sunday
}

Date PreviousDay(Date date)
{
    if (--date.Day > 0) return date;
    if (--date.Month == 0) {
        date.Month = 12;
        --date.Year;
    }
    date.Day = GregorianDaysIn(date.Year, date.Month);
    return date;
}

// The Saturday after the third Friday of a month, found by looking at each day.
Date ReferenceExpiration(int year, int month)
{
    int fridays = 0;
    for (int day = 1;; ++day) {
        if (WeekdayOf({year, month, day}) == 5 && ++fridays == 3) return {year, month, day + 1};
    }
}

void ExpectMatchesRealCalendar(const LocalDateTime& now)
{
    const Date today = now.Hour < 9 ? PreviousDay({now.Year, now.Month, now.Day})
                                    : Date{now.Year, now.Month, now.Day};
    Date expiration = ReferenceExpiration(today.Year, today.Month);
    if (SerialOf(expiration) <= SerialOf(today)) {
        const bool december = today.Month == 12;
        expiration = ReferenceExpiration(today.Year + december, december ? 1 : today.Month + 1);
    }
    const ExpirationCalendar calendar = BuildExpirationCalendar(now);
    for (int i = 0; i < ExpirationCount; ++i) {
        SCOPED_TRACE(FormatDateTime(now) + " position " + std::to_string(i));
        ASSERT_EQ(calendar.ExpiryMonth[i], expiration.Month - 1);
        ASSERT_EQ(calendar.ExpiryDay[i], expiration.Day);
        ASSERT_EQ(calendar.DaysToExpiry[i], SerialOf(expiration) - SerialOf(today));
        const bool december = expiration.Month == 12;
        expiration = ReferenceExpiration(expiration.Year + december,
                                         december ? 1 : expiration.Month + 1);
    }
}

} // namespace

TEST(BuildExpirationCalendar, ThursdayTheFifteenthExpiresThatSaturday)
{
    // January 2026 begins on a Thursday, so its first Friday is the 2nd.
    const ExpirationCalendar calendar = BuildExpirationCalendar(At(2026, 1, 15, 12));
    EXPECT_EQ(calendar.ExpiryMonth[0], 0);
    EXPECT_EQ(calendar.ExpiryDay[0], 17);
    EXPECT_EQ(calendar.DaysToExpiry[0], 2);
    // February 2026: the first Friday is the 6th, so 17 + 28 - 31 = 14 needs one more week.
    EXPECT_EQ(calendar.ExpiryMonth[1], 1);
    EXPECT_EQ(calendar.ExpiryDay[1], 21);
    EXPECT_EQ(calendar.DaysToExpiry[1], 37);
    EXPECT_EQ(calendar.ExpiryMonthCode[Calls][0], 'A');
    EXPECT_EQ(calendar.ExpiryMonthCode[Puts][0], 'M');
    EXPECT_EQ(calendar.ExpiryMonthCode[Calls][1], 'B');
    EXPECT_EQ(calendar.ExpiryMonthCode[Puts][1], 'N');
}

TEST(BuildExpirationCalendar, ExpirationSaturdayTurnsOverAtNine)
{
    const ExpirationCalendar before = BuildExpirationCalendar(At(2026, 1, 17, 8));
    EXPECT_EQ(before.ExpiryMonth[0], 0);
    EXPECT_EQ(before.ExpiryDay[0], 17);
    EXPECT_EQ(before.DaysToExpiry[0], 1);

    const ExpirationCalendar justBefore = BuildExpirationCalendar(At(2026, 1, 17, 8, 59));
    EXPECT_EQ(justBefore.DaysToExpiry[0], 1);

    const ExpirationCalendar after = BuildExpirationCalendar(At(2026, 1, 17, 9));
    EXPECT_EQ(after.ExpiryMonth[0], 1);
    EXPECT_EQ(after.ExpiryDay[0], 21);
    EXPECT_EQ(after.DaysToExpiry[0], 35);
    EXPECT_EQ(after.ExpiryMonthCode[Calls][0], 'B');
    EXPECT_EQ(after.ExpiryMonthCode[Puts][0], 'N');
}

TEST(BuildExpirationCalendar, FebruaryOfTheComingLeapYearHas29Days)
{
    // From late March 2027 (2027 leaves 3 when divided by 4) the calendar reaches March 2028,
    // whose expiration (the 18th) is only right when February 2028 counts 29 days.
    const ExpirationCalendar calendar = BuildExpirationCalendar(At(2027, 3, 25, 12));
    EXPECT_EQ(calendar.ExpiryMonth[0], 3);
    EXPECT_EQ(calendar.ExpiryMonth[11], 2);
    EXPECT_EQ(calendar.ExpiryDay[10], 19); // February 2028
    EXPECT_EQ(calendar.ExpiryDay[11], 18);
    EXPECT_EQ(calendar.DaysToExpiry[11], 359);
}

TEST(BuildExpirationCalendar, DecemberRollsIntoJanuary)
{
    // 19 December 2026 has passed; 16 January 2027 is next.
    const ExpirationCalendar calendar = BuildExpirationCalendar(At(2026, 12, 28, 12));
    EXPECT_EQ(calendar.ExpiryMonth[0], 0);
    EXPECT_EQ(calendar.ExpiryDay[0], 16);
    EXPECT_EQ(calendar.DaysToExpiry[0], 19);
    EXPECT_EQ(calendar.ExpiryMonthCode[Calls][0], 'A');
    EXPECT_EQ(calendar.ExpiryMonthCode[Puts][0], 'M');
    EXPECT_EQ(calendar.ExpiryMonth[11], 11);
    EXPECT_EQ(calendar.ExpiryMonthCode[Calls][11], 'L');
    EXPECT_EQ(calendar.ExpiryMonthCode[Puts][11], 'X');
}

TEST(BuildExpirationCalendar, AgreesWithTheRealCalendarEveryDayOfEightYears)
{
    // 2024..2031 hold two leap years, every weekday on which a month can begin, and every month's
    // turn at 9:00, at midnight and across year ends.
    for (int year = 2024; year <= 2031; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= GregorianDaysIn(year, month); ++day)
                for (int hour : {0, 8, 9, 23})
                    ExpectMatchesRealCalendar(At(year, month, day, hour));
}

TEST(SelectStrikes, FollowsTheWorkedExamples)
{
    struct Row {
        float LastSale;
        std::array<float, 5> Strikes;
        const char* Why;
    };
    const Row rows[] = {
        {47.5f, {40, 45, 50, 55, 60}, "steps of 5 from 30 on"},
        {24, {20, 22.5f, 25, 30, 35}, "centre 25: 2.5 below 30, 5 from 25 up"},
        {12, {7.5f, 10, 12.5f, 15, 17.5f}, "R(26.5) is 26 (half to even), still centre 12.5"},
        {8, {5, 7.5f, 10, 12.5f, 15}, "below 10: the fixed lowest strikes"},
        {9.99f, {5, 7.5f, 10, 12.5f, 15}, "just below 10"},
        {10, {5, 7.5f, 10, 12.5f, 15}, "10 already uses the centre rule"},
        {23.75f, {20, 22.5f, 25, 30, 35}, "multiple-of-5 rule: R(26.25) = 26, centre 25"},
        {23.7f, {20, 22.5f, 25, 30, 35}, "multiple-of-2.5 rule: R(49.9) = 50, centre 25"},
        {22.4f, {17.5f, 20, 22.5f, 25, 30}, "R(47.3) = 47, 47 \\ 5 = 9, centre 22.5"},
        {16, {10, 12.5f, 15, 17.5f, 20}, "R(34.5) = 34 (half to even), centre 15"},
        {42, {30, 35, 40, 45, 50}, "R(44.5) = 44 (half to even), centre 40"},
        {27, {22.5f, 25, 30, 35, 40}, "centre 30: 5 below from 30 on, 2.5 below 25"},
        {212.6f, {205, 210, 215, 220, 225}, "beyond 100: R(215.1) = 215"},
    };
    for (const Row& row : rows) {
        const StrikeTable table = SelectStrikes(row.LastSale);
        EXPECT_EQ(table.StrikePrice, row.Strikes) << row.LastSale << ": " << row.Why;
        for (int i = 0; i < StrikeCount; ++i)
            EXPECT_EQ(table.StrikeCode[i], StrikeCodeFor(row.Strikes[i])) << row.LastSale;
    }
}

TEST(SelectStrikes, AnUnreadablePriceGetsTheLowestStrikes)
{
    const StrikeTable table = SelectStrikes(std::nanf(""));
    EXPECT_EQ(table.StrikePrice, (std::array<float, 5>{5, 7.5f, 10, 12.5f, 15}));
}

TEST(StrikeCodeFor, LetterTable)
{
    struct Row {
        float Strike;
        char Code;
    };
    const Row rows[] = {
        {5, 'A'},    {7.5f, 'U'}, {10, 'B'},  {12.5f, 'V'}, {15, 'C'},   {17.5f, 'W'},
        {20, 'D'},   {22.5f, 'X'}, {25, 'E'}, {27.5f, 'E'}, {30, 'F'},   {95, 'S'},
        {100, 'T'},  {105, 'A'},  {107.5f, 'U'}, {110, 'B'}, {200, 'T'}, {1025, 'E'},
    };
    for (const Row& row : rows) EXPECT_EQ(StrikeCodeFor(row.Strike), row.Code) << row.Strike;
}

TEST(StrikeCodeFor, StrikesWithoutALetterGiveNone)
{
    EXPECT_EQ(StrikeCodeFor(2.5f), '\0');
    EXPECT_EQ(StrikeCodeFor(102.5f), '\0');
    EXPECT_EQ(StrikeCodeFor(0), '\0');
    EXPECT_EQ(StrikeCodeFor(std::nanf("")), '\0');
    EXPECT_EQ(StrikeCodeFor(INFINITY), '\0');
    // Far beyond float's whole-number precision, stepping down by 100 would never end.
    EXPECT_EQ(StrikeCodeFor(3e9f), 'T');
}
