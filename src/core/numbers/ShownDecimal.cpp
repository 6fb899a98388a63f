#include "core/numbers/ShownDecimal.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double PowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
constexpr double DecadeStarts[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};

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
    // The decade from a table, not log10, which costs as much as the rest; either may miss by one
    // next to a power of ten, and the scaled value says which way.
    int exponent = -5;
    for (const double start : DecadeStarts) exponent += magnitude >= start;
    int k = 6 - exponent;
    double scaled = magnitude * PowersOfTen[k];
    if (scaled >= 1e7) scaled = magnitude * PowersOfTen[--k];
    else if (scaled < 1e6) scaled = magnitude * PowersOfTen[++k];
    double digits = std::nearbyint(scaled);
    if (digits >= 1e7) { // 9999999.5 and up: one digit more
        digits = 1e6;
        --k;
    }
    number.negative = value < 0;
    // Exactly seven digits, from the last.
    auto whole = static_cast<std::uint32_t>(digits);
    for (int i = 6; i >= 0; --i, whole /= 10) number.digits[i] = static_cast<char>('0' + whole % 10);
    number.count = 7;
    number.pointPosition = 7 - k;
    DropTrailingZeros(number);
    return true;
}

