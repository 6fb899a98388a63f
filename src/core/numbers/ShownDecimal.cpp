#include "core/numbers/ShownDecimal.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr double PowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};

} // namespace

void DropTrailingZeros(ShownDecimal& number)
{
    while (number.count > 0 && number.digits[number.count - 1] == '0') --number.count;
    if (number.count == 0) number.pointPosition = 0;
}

bool ToSevenDigits(float value, ShownDecimal& number)
{
    const double magnitude = std::fabs(static_cast<double>(value));
    if (!(magnitude >= 1e-5 && magnitude < 1e7)) return false;
    // The decade from the binary exponent times log10(2) (1233 / 4096), not log10, which costs as
    // much as the rest: it may miss by one, and the scaled value says which way.
    const int binaryExponent = static_cast<int>((std::bit_cast<std::uint32_t>(value) >> 23) & 0xff) - 127;
    int k = 6 - ((binaryExponent * 1233) >> 12);
    double scaled = magnitude * PowersOfTen[k];
    if (scaled >= 1e7) scaled = magnitude * PowersOfTen[--k];
    else if (scaled < 1e6) scaled = magnitude * PowersOfTen[++k];
    // Rounded to the nearest integer, to even on a tie, by the addition's own rounding: a double
    // at 2^52 has no fraction bits left (nearbyint is a library call here).
    double digits = (scaled + 0x1p52) - 0x1p52;
    if (digits >= 1e7) { // 9999999.5 and up: one digit more
        digits = 1e6;
        --k;
    }
    number.negative = value < 0;
    // Exactly seven digits: 10^6 <= digits < 10^7.
    std::to_chars(number.digits, number.digits + 7, static_cast<std::uint32_t>(digits));
    number.count = 7;
    number.pointPosition = 7 - k;
    DropTrailingZeros(number);
    return true;
}

