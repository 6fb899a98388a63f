#pragma once
// Display patterns of the results report and the symbol output files, and the fixed-width fields
// they are placed in. Never the locale: "." is the decimal point and "," the thousands separator.
//
// A number pattern has one or two sections separated by ";". The first serves zero and positive
// values; the second, when present, serves negative values and is applied to the magnitude (a
// section without digit placeholders is a literal text, such as "n/a"). Within a section:
//   "0"  a digit that is always shown     "#"  a digit shown only when significant
//   "."  the decimal point                ","  in the integer part: group thousands with ","
//   "%"  shows the value times 100        anything else is copied as it stands.
// A negative value under a one-section pattern gets "-" in front of the whole result, unless it
// shows as zero.
//
// Rounding: the value is first taken as the decimal text it would be shown as (7 significant
// digits for a single, 15 for a double), and that decimal is rounded half away from zero. So 12.345
// under "0.0#" gives 12.35 although the single nearest to 12.345 lies a little below it.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

// One section of a number pattern, taken apart: the literal text around the digit placeholders
// and what the placeholders ask for. A section without placeholders is all prefix.
struct PatternSection {
    std::string_view Prefix, Suffix;
    bool HasDigits = false;
    bool Percent = false;
    bool Grouped = false;
    bool HasPoint = false;
    int MinimumIntegerDigits = 0;
    int MinimumDecimals = 0;
    int MaximumDecimals = 0;
};

// A number pattern taken apart once, so that a block showing some 150 numbers does not read its
// patterns 150 times. It refers to the pattern's text, which must outlive it (a literal does).
struct NumberPattern {
    PatternSection Positive;
    PatternSection Negative;
    bool HasNegative = false;
};

constexpr PatternSection ParsePatternSection(std::string_view section)
{
    PatternSection parts;
    auto first = section.find_first_of("0#");
    if (first == std::string_view::npos) {
        parts.Prefix = section;
        return parts;
    }
    // The digit placeholders and their separators form the body; what stands around it is literal.
    if (first > 0 && section[first - 1] == '.') --first;
    auto end = section.find_first_not_of("0#,.", first);
    if (end == std::string_view::npos) end = section.size();
    const std::string_view body = section.substr(first, end - first);
    parts.Prefix = section.substr(0, first);
    parts.Suffix = section.substr(end);
    parts.HasDigits = true;
    parts.Percent = parts.Prefix.find('%') != std::string_view::npos || parts.Suffix.find('%') != std::string_view::npos;
    const auto point = body.find('.');
    parts.HasPoint = point != std::string_view::npos;
    const std::string_view integerPart = body.substr(0, point);
    const std::string_view fractionPart = parts.HasPoint ? body.substr(point + 1) : std::string_view{};
    parts.Grouped = integerPart.find(',') != std::string_view::npos;
    parts.MinimumIntegerDigits = static_cast<int>(std::count(integerPart.begin(), integerPart.end(), '0'));
    parts.MinimumDecimals = static_cast<int>(std::count(fractionPart.begin(), fractionPart.end(), '0'));
    parts.MaximumDecimals =
        parts.MinimumDecimals + static_cast<int>(std::count(fractionPart.begin(), fractionPart.end(), '#'));
    return parts;
}

constexpr NumberPattern ParseNumberPattern(std::string_view pattern)
{
    NumberPattern parsed;
    const auto separator = pattern.find(';');
    parsed.Positive = ParsePatternSection(pattern.substr(0, separator));
    parsed.HasNegative = separator != std::string_view::npos;
    if (parsed.HasNegative) parsed.Negative = ParsePatternSection(pattern.substr(separator + 1));
    return parsed;
}

std::string FormatPattern(float value, std::string_view pattern);
// The same, appended to `out`: a report block puts some 150 numbers into one string.
void AppendPattern(std::string& out, float value, const NumberPattern& pattern);
void AppendPattern(std::string& out, double value, const NumberPattern& pattern);
void AppendPattern(std::string& out, int value, const NumberPattern& pattern);
std::string FormatPattern(double value, std::string_view pattern);
std::string FormatPattern(int value, std::string_view pattern);

// Text patterns: each "@" is a character position, filled from the right unless the pattern holds
// "!" (then from the left); unused positions show a space. A text longer than the positions is
// shown whole. Other characters are copied.
std::string FormatTextPattern(std::string_view text, std::string_view pattern);

// The text left-justified in a field of `width` characters: filled with spaces, cut when longer.
std::string PadField(std::string_view text, std::size_t width);

// A one-letter code as text; the letter 0 (no code) is the empty text.
std::string CodeText(char code);
