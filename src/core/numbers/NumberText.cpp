#include "core/numbers/NumberText.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "core/numbers/ShownDecimal.h"

namespace {

// printf's %g gives exactly the shape we want (significant digits, no trailing zeros, exponent
// outside 1e-5..1e+precision); only the exponent needs our own spelling "E-05"/"E+07".
std::string FormatGeneral(double value, int significantDigits)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    if (e != std::string::npos) text[e] = 'E';
    if (text == "-0") text = "0";
    return text;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string FormatSingle(float value)
{
    // %g writes a decimal exponent from -4 to 6 without the exponent: those texts are spelled here
    // from the digits, the rest by the general conversion.
    ShownDecimal number;
    if (value == 0) return "0";
    if (!ToSevenDigits(value, number) || number.pointPosition < -3 || number.pointPosition > 7)
        return FormatGeneral(value, 7);
    const std::string_view digits(number.digits, static_cast<std::size_t>(number.count));
    std::string text(number.negative ? "-" : "");
    if (number.pointPosition <= 0) {
        text.append("0.").append(static_cast<std::size_t>(-number.pointPosition), '0').append(digits);
    } else if (number.pointPosition >= number.count) {
        text.append(digits).append(static_cast<std::size_t>(number.pointPosition - number.count), '0');
    } else {
        const auto point = static_cast<std::size_t>(number.pointPosition);
        text.append(digits.substr(0, point)).append(".").append(digits.substr(point));
    }
    return text;
}

std::string FormatDouble(double value) { return FormatGeneral(value, 15); }

std::optional<double> ParseDecimal(std::string_view text)
{
    text = TrimBlanks(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    // from_chars takes neither a leading "+" nor a bare ".5" sign-wise oddities; normalise first.
    std::string normal(text);
    bool negative = false;
    if (normal[0] == '+' || normal[0] == '-') {
        negative = normal[0] == '-';
        normal.erase(0, 1);
    }
    double value = 0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec != std::errc() || result.ptr != normal.data() + normal.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string FormatFixed(double value, int decimals)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(text, result.ptr) : FormatDouble(value);
}
