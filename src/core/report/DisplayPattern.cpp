#include "core/report/DisplayPattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/numbers/NumberText.h"
#include "core/numbers/ShownDecimal.h"

namespace {

template <class Floating>
ShownDecimal ToShownDecimal(Floating value, int significantDigits)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, significantDigits - 1);
    ShownDecimal number;
    number.negative = value < 0;
    const char* c = buffer;
    for (; c < result.ptr && *c != 'e'; ++c)
        if (*c != '.') number.digits[number.count++] = *c;
    int exponent = 0;
    std::from_chars(c + 1 + (c[1] == '+'), result.ptr, exponent);
    number.pointPosition = exponent + 1;
    if (std::all_of(number.digits, number.digits + number.count, [](char d) { return d == '0'; }))
        number.count = 0;
    DropTrailingZeros(number);
    return number;
}

ShownDecimal ToShownDecimal(long long value)
{
    ShownDecimal number;
    number.negative = value < 0;
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    if (magnitude != 0)
        number.count = static_cast<int>(std::to_chars(number.digits, number.digits + sizeof number.digits, magnitude).ptr -
                                        number.digits);
    number.pointPosition = number.count;
    DropTrailingZeros(number);
    return number;
}

ShownDecimal ToShownDecimal(float value)
{
    ShownDecimal number;
    if (value == 0) return number; // many a block field is zero, outside the quick range
    if (ToSevenDigits(value, number)) return number;
    return ToShownDecimal(value, 7);
}

// A whole number below 10^15 (a share count) has all its digits within the 15 shown.
ShownDecimal ToShownDecimal(double value)
{
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) return ToShownDecimal(static_cast<long long>(value));
    return ToShownDecimal(value, 15);
}

// Rounds half away from zero to `decimals` places after the point.
void RoundToDecimals(ShownDecimal& number, int decimals)
{
    const int keep = number.pointPosition + decimals;
    if (keep >= number.count) return;
    if (keep < 0) {
        number.count = 0;
        number.pointPosition = 0;
        return;
    }
    const bool roundUp = number.digits[keep] >= '5';
    number.count = keep;
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && number.digits[i] == '9') number.digits[i--] = '0';
        if (i >= 0) {
            ++number.digits[i];
        } else {
            std::memmove(number.digits + 1, number.digits, static_cast<std::size_t>(number.count));
            number.digits[0] = '1';
            ++number.count;
            ++number.pointPosition;
        }
    }
    DropTrailingZeros(number);
}

char DigitAt(const ShownDecimal& number, int index)
{
    return index < 0 || index >= number.count ? '0' : number.digits[index];
}

// Appends the section's text for the magnitude; true when it shows zero.
bool AppendSection(std::string& out, ShownDecimal magnitude, const PatternSection& section)
{
    out += section.Prefix;
    if (!section.HasDigits) return true;
    if (magnitude.count > 0 && section.Percent) magnitude.pointPosition += 2;
    RoundToDecimals(magnitude, section.MaximumDecimals);

    const int integerDigits = std::max(magnitude.pointPosition, section.MinimumIntegerDigits);
    for (int i = 0; i < integerDigits; ++i) {
        if (section.Grouped && i > 0 && (integerDigits - i) % 3 == 0) out += ',';
        out += DigitAt(magnitude, i - (integerDigits - magnitude.pointPosition));
    }
    if (section.HasPoint) {
        out += '.';
        int decimals = section.MaximumDecimals;
        while (decimals > section.MinimumDecimals && DigitAt(magnitude, magnitude.pointPosition + decimals - 1) == '0')
            --decimals;
        for (int i = 0; i < decimals; ++i) out += DigitAt(magnitude, magnitude.pointPosition + i);
    }
    out += section.Suffix;
    return magnitude.count == 0;
}

void AppendShownDecimal(std::string& out, const ShownDecimal& number, const NumberPattern& pattern)
{
    if (number.negative && pattern.HasNegative) {
        (void)AppendSection(out, number, pattern.Negative);
        return;
    }
    const std::size_t start = out.size();
    const bool showsZero = AppendSection(out, number, pattern.Positive);
    // A value that rounds to zero shows no sign: "-0.0%" would claim a direction it does not have.
    if (number.negative && !showsZero) out.insert(start, 1, '-');
}

template <class Value>
std::string Formatted(Value value, std::string_view pattern)
{
    std::string text;
    AppendPattern(text, value, ParseNumberPattern(pattern));
    return text;
}

} // namespace

void AppendPattern(std::string& out, float value, const NumberPattern& pattern)
{
    if (!std::isfinite(value)) out += FormatSingle(value);
    else AppendShownDecimal(out, ToShownDecimal(value), pattern);
}

void AppendPattern(std::string& out, double value, const NumberPattern& pattern)
{
    if (!std::isfinite(value)) out += FormatDouble(value);
    else AppendShownDecimal(out, ToShownDecimal(value), pattern);
}

void AppendPattern(std::string& out, int value, const NumberPattern& pattern)
{
    AppendShownDecimal(out, ToShownDecimal(static_cast<long long>(value)), pattern);
}

std::string FormatPattern(float value, std::string_view pattern) { return Formatted(value, pattern); }
std::string FormatPattern(double value, std::string_view pattern) { return Formatted(value, pattern); }
std::string FormatPattern(int value, std::string_view pattern) { return Formatted(value, pattern); }
std::string FormatTextPattern(std::string_view text, std::string_view pattern)
{
    std::string shape;
    bool leftToRight = false;
    for (const char c : pattern) {
        if (c == '!') leftToRight = true;
        else shape += c;
    }
    const auto first = shape.find('@');
    if (first == std::string::npos) return shape;
    const auto last = shape.rfind('@');
    const std::size_t positions = last - first + 1;
    std::string filled(text);
    if (filled.size() < positions) {
        const std::string blanks(positions - filled.size(), ' ');
        filled = leftToRight ? filled + blanks : blanks + filled;
    }
    return shape.substr(0, first) + filled + shape.substr(last + 1);
}

std::string PadField(std::string_view text, std::size_t width)
{
    std::string field(text.substr(0, width));
    field.resize(width, ' ');
    return field;
}

std::string CodeText(char code) { return code == '\0' ? std::string() : std::string(1, code); }
