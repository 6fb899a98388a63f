#pragma once
// Number <-> text in the invariant form of our files and reports, never through the locale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Shortest text of a single-precision value with at most 7 significant digits: "." as decimal
// point, no trailing zeros, "0.5" for a half, an exponent for very large or small values ("1E-05").
std::string FormatSingle(float value);

// The same for a double with at most 15 significant digits.
std::string FormatDouble(double value);

// Fixed-point text with `decimals` digits after the ".": FormatFixed(12.345, 1) is "12.3".
std::string FormatFixed(double value, int decimals);

// Reads a decimal number: blanks around it allowed, then an optional sign, digits with at most one
// decimal point (".5" and "5." both read), and an optional exponent ("1E-05"). Anything else,
// including an empty text, reads as no number.
std::optional<double> ParseDecimal(std::string_view text);

// Reads an optionally signed whole number (blanks around it allowed) that fits in 32 bits.
std::optional<std::int32_t> ParseInteger(std::string_view text);
