#pragma once
// The 12-option window that the QVA averages, the verdict, the quote cache and the report all work
// on, and the rules every option of it follows, kept in one place so that they cannot drift apart.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/quotes/QuoteData.h"

// Strike positions 1 to 3 (the strike nearest the last sale and its two neighbours) and the two
// nearest expirations, for calls and puts.
inline constexpr std::array<int, 3> ShownStrikes{1, 2, 3};
inline constexpr std::array<int, 2> ShownExpirations{0, 1};
inline constexpr std::array<Side, 2> BothSides{Calls, Puts};

// Dollars gained by exercising at once: stock price - strike for a call, strike - stock price for
// a put. Negative out of the money; the pricing model floors an option's value at exactly this.
float ExerciseGain(Side side, float stockPrice, float strike);
// The intrinsic value that the option screen and the report use: ExerciseGain, 0 when negative.
float IntrinsicValue(Side side, float stockPrice, float strike);

// Values of the "Derive QVA from" setting (DrvQVAfrom); any value but the first three means the
// mid price.
enum DeriveQVAFrom : std::int16_t { FromLast = 0, FromBid = 1, FromAsk = 2, FromMid = 3 };

// The price an option's implied volatility is solved from, chosen by `drvQVAfrom`. Absent values
// (-1) take part as they are, so the mid of a missing bid and an ask of 2 is 0.5. The result may
// be infinite (two huge quotes): the solver's caller refuses that, the report shows it.
float PriceUsed(const OptionSeries& series, std::int16_t drvQVAfrom, Side side, int strike,
                int expiration);

// A stock symbol of at most three characters is its own option root: its option symbols start
// with it. A longer one has an abbreviated root, read off one of its option symbols.
bool IsOwnOptionRoot(std::string_view stockSymbol);
// The option root that `symbol` starts with: its first three characters, all of a shorter one.
std::string OptionRootOf(std::string_view symbol);

// The option's symbol as the page gave it, or else the root, the month letter of the side and
// expiration and the strike letter (a letter the tables could not give is left out).
std::string OptionSymbolOf(const QuoteData& quote, Side side, int strike, int expiration);
