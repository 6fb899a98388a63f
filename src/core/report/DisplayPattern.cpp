#include "core/report/DisplayPattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/numbers/NumberText.h"

namespace {

// A decimal number as it is shown: significant digits without leading or trailing zeros (empty for
// zero), with the decimal point after `pointPosition` of them (a position outside the digits stands
// for zeros in between).
struct ShownDecimal {
    bool negative = false;
    std::string digits;
    int pointPosition = 0;
};

void DropTrailingZeros(ShownDecimal& number)
{
    while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
    if (number.digits.empty()) number.pointPosition = 0;
}

template <class Floating>
ShownDecimal ToShownDecimal(Floating value, int significantDigits)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = text.find('e');
    ShownDecimal number;
    number.negative = value < 0;
    for (const char c : text.substr(0, e))
        if (c != '.') number.digits += c;
    number.pointPosition = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    if (number.digits.find_first_not_of('0') == std::string::npos) number.digits.clear();
    DropTrailingZeros(number);
    return number;
}

ShownDecimal ToShownDecimal(long long value)
{
    ShownDecimal number;
    number.negative = value < 0;
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    if (magnitude != 0) number.digits = std::to_string(magnitude);
    number.pointPosition = static_cast<int>(number.digits.size());
    DropTrailingZeros(number);
    return number;
}

// Rounds half away from zero to `decimals` places after the point.
void RoundToDecimals(ShownDecimal& number, int decimals)
{
    const int keep = number.pointPosition + decimals;
    if (keep >= static_cast<int>(number.digits.size())) return;
    if (keep < 0) {
        number.digits.clear();
        number.pointPosition = 0;
        return;
    }
    const bool roundUp = number.digits[static_cast<std::size_t>(keep)] >= '5';
    number.digits.resize(static_cast<std::size_t>(keep));
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && number.digits[static_cast<std::size_t>(i)] == '9')
            number.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++number.digits[static_cast<std::size_t>(i)];
        } else {
            number.digits.insert(number.digits.begin(), '1');
            ++number.pointPosition;
        }
    }
    DropTrailingZeros(number);
}

char DigitAt(const ShownDecimal& number, int index)
{
    if (index < 0 || index >= static_cast<int>(number.digits.size())) return '0';
    return number.digits[static_cast<std::size_t>(index)];
}

std::string GroupThousands(const std::string& integer)
{
    std::string grouped;
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) grouped += ',';
        grouped += integer[i];
    }
    return grouped;
}

struct SectionParts {
    std::string_view prefix, body, suffix;
};

// The digit placeholders and their separators form the body; what stands around it is literal.
SectionParts SplitSection(std::string_view section)
{
    auto first = section.find_first_of("0#");
    if (first == std::string_view::npos) return {section, {}, {}};
    if (first > 0 && section[first - 1] == '.') --first;
    auto end = section.find_first_not_of("0#,.", first);
    if (end == std::string_view::npos) end = section.size();
    return {section.substr(0, first), section.substr(first, end - first), section.substr(end)};
}

struct ShownSection {
    std::string text;
    bool showsZero = true;
};

ShownSection FormatSection(ShownDecimal magnitude, std::string_view section)
{
    const auto [prefix, body, suffix] = SplitSection(section);
    if (body.empty()) return {std::string(section), true};
    if (!magnitude.digits.empty() &&
        (prefix.find('%') != std::string_view::npos || suffix.find('%') != std::string_view::npos))
        magnitude.pointPosition += 2;

    const auto point = body.find('.');
    const std::string_view integerPart = body.substr(0, point);
    const std::string_view fractionPart =
        point == std::string_view::npos ? std::string_view{} : body.substr(point + 1);
    const auto minimumIntegerDigits = std::count(integerPart.begin(), integerPart.end(), '0');
    const auto minimumDecimals = std::count(fractionPart.begin(), fractionPart.end(), '0');
    const auto maximumDecimals =
        minimumDecimals + std::count(fractionPart.begin(), fractionPart.end(), '#');

    RoundToDecimals(magnitude, static_cast<int>(maximumDecimals));

    std::string integer;
    for (int i = 0; i < magnitude.pointPosition; ++i) integer += DigitAt(magnitude, i);
    if (static_cast<long>(integer.size()) < minimumIntegerDigits)
        integer.insert(0, static_cast<std::size_t>(minimumIntegerDigits) - integer.size(), '0');
    if (integerPart.find(',') != std::string_view::npos) integer = GroupThousands(integer);

    std::string fraction;
    for (int i = 0; i < maximumDecimals; ++i) fraction += DigitAt(magnitude, magnitude.pointPosition + i);
    while (static_cast<long>(fraction.size()) > minimumDecimals && fraction.back() == '0')
        fraction.pop_back();

    std::string text(prefix);
    text += integer;
    if (point != std::string_view::npos) text += "." + fraction;
    text += suffix;
    return {text, magnitude.digits.empty()};
}

std::string FormatShownDecimal(const ShownDecimal& number, std::string_view pattern)
{
    const auto separator = pattern.find(';');
    if (number.negative && separator != std::string_view::npos)
        return FormatSection(number, pattern.substr(separator + 1)).text;
    const ShownSection shown = FormatSection(number, pattern.substr(0, separator));
    // A value that rounds to zero shows no sign: "-0.0%" would claim a direction it does not have.
    return number.negative && !shown.showsZero ? "-" + shown.text : shown.text;
}

} // namespace

std::string FormatPattern(float value, std::string_view pattern)
{
    if (!std::isfinite(value)) return FormatSingle(value);
    return FormatShownDecimal(ToShownDecimal(value, 7), pattern);
}

std::string FormatPattern(double value, std::string_view pattern)
{
    if (!std::isfinite(value)) return FormatDouble(value);
    return FormatShownDecimal(ToShownDecimal(value, 15), pattern);
}

std::string FormatPattern(int value, std::string_view pattern)
{
    return FormatShownDecimal(ToShownDecimal(static_cast<long long>(value)), pattern);
}

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
