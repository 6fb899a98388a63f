#include "core/numbers/ShownDecimal.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double PowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};

// The digits of 00 to 99, two by two.
constexpr auto DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// The seven digits of 10^6 <= value < 10^7, two at a time from independent quotients: a report
// writes some 150 of them per symbol.
void WriteSevenDigits(std::uint32_t value, char* out)
{
    const std::uint32_t high = value / 100000, middle = value / 1000 % 100, low = value % 1000;
    std::memcpy(out, &DigitPairs[2 * high], 2);
    std::memcpy(out + 2, &DigitPairs[2 * middle], 2);
    std::memcpy(out + 4, &DigitPairs[2 * (low / 10)], 2);
    out[6] = static_cast<char>('0' + low % 10);
}

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
    WriteSevenDigits(static_cast<std::uint32_t>(digits), number.digits);
    number.count = 7;
    number.pointPosition = 7 - k;
    DropTrailingZeros(number);
    return true;
}

