#pragma once
// Which option months and strikes a symbol is screened on, and the letters that encode them in
// option symbols (root + month letter + strike letter).

#include <cstdint>

#include "core/quotes/Clock.h"
#include "core/quotes/QuoteData.h"

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12); exact for any int year.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// The day number (as DaysFromCivil) of the trading day of `now`: `now` minus 9 hours, so until
// 9:00 the previous day counts. DaysToExpiry counts from this day.
std::int64_t TradingDayNumber(const LocalDateTime& now);

// The next 12 expirations (the Saturday after each month's third Friday) as seen on the trading
// day, which is `now` minus 9 hours.
ExpirationCalendar BuildExpirationCalendar(const LocalDateTime& now);

// Five strikes around the last sale (dollars), ascending, with their letters.
StrikeTable SelectStrikes(float lastSale);

// The one-letter code of a strike (dollars): 5 "A", 7.5 "U", 10 "B", ... 100 "T", 105 "A" again.
// '\0' for a strike that has no letter: below 5 once brought into 0..100, or not a number.
char StrikeCodeFor(float strike);

// The month letter of a side (0 calls, 1 puts) for a month 0 (January) to 11 (December).
char MonthCodeFor(int side, int month);
