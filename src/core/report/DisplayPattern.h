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

#include <cstdint>
#include <string>
#include <string_view>

std::string FormatPattern(float value, std::string_view pattern);
// The same, appended to `out`: a report block puts some 150 numbers into one string.
void AppendPattern(std::string& out, float value, std::string_view pattern);
void AppendPattern(std::string& out, double value, std::string_view pattern);
void AppendPattern(std::string& out, int value, std::string_view pattern);
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
