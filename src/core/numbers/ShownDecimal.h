#pragma once
// The significant digits of a number as the report and the number texts show it, worked out
// without the general conversion where that can be done exactly: some 150 numbers go into every
// results block and pass table row.

// A decimal number as it is shown: significant digits without leading or trailing zeros (none for
// zero), with the decimal point after `pointPosition` of them (a position outside the digits stands
// for zeros in between). Held in place, not on the heap.
struct ShownDecimal {
    bool negative = false;
    char digits[24]; // the first `count` hold the digits
    int count = 0;
    int pointPosition = 0;
};

void DropTrailingZeros(ShownDecimal& number);

// The seven significant digits of most singles a report shows (1e-5 up to 1e7), without the general
// conversion, which costs as much as the rest of the formatting. A single's 24-bit mantissa times
// 10^k for k up to 12 fits a double's 53 bits, so the scaled value is exact and rounding it to an
// integer (to even on a tie) rounds the exact value as the conversion does. False outside that range.
bool ToSevenDigits(float value, ShownDecimal& number);
