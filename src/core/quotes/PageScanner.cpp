#include "core/quotes/PageScanner.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "core/text/Ascii.h"

namespace {

// Character classes compare character codes; bytes above 127 are ordinary text, never blanks.
unsigned char Code(char c) { return static_cast<unsigned char>(c); }
bool IsControl(char c) { return Code(c) < ' '; }
bool IsFiller(char c) { return Code(c) < '+'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::string_view LineBreak = "\r\n";
// Quote pages put "TRADE" inside the line above the company name, so it matches anywhere.
constexpr std::string_view AnywhereLabel = "TRADE";
constexpr int MaximumNumberDigits = 10;

// The 0-based index of the cursor's character; a cursor below 1 counts as 1.
std::size_t CursorIndex(const PageBuffer& page)
{
    return page.PageCursor < 1 ? 0 : static_cast<std::size_t>(page.PageCursor - 1);
}

void SetCursorIndex(PageBuffer& page, std::size_t index)
{
    page.PageCursor = static_cast<std::int32_t>(index + 1);
}

// The character under the cursor, or nothing at the end of the text.
std::optional<char> CursorCharacter(const PageBuffer& page)
{
    const std::size_t index = CursorIndex(page);
    if (index >= page.PageText.size()) return std::nullopt;
    return page.PageText[index];
}

// Advances the cursor while `skippable` holds and stops at the end of the text.
template <class Predicate>
void AdvanceWhile(PageBuffer& page, Predicate skippable)
{
    std::size_t index = CursorIndex(page);
    while (index < page.PageText.size() && skippable(page.PageText[index])) ++index;
    SetCursorIndex(page, index);
}

// Like AdvanceWhile, for the skips in front of a value: false when nothing is left to read.
template <class Predicate>
[[nodiscard]] bool SkipBefore(PageBuffer& page, Predicate skippable)
{
    AdvanceWhile(page, skippable);
    return CursorIndex(page) < page.PageText.size();
}

std::string_view TrimTrailingBlanks(std::string_view run)
{
    while (!run.empty() && IsSpaceOrBelow(run.back())) run.remove_suffix(1);
    return run;
}

// The fraction part of ReadPriceValue, read at the character after the whole number.
struct Fraction {
    double Numerator = 0;
    double Denominator = 1;
};

// At the "/" (or whatever stands in its place) behind a numerator: steps over it, reads the rest.
std::optional<Fraction> ReadDenominator(PageBuffer& page, std::int32_t numerator)
{
    ++page.PageCursor;
    const auto denominator = ReadWholeNumber(page);
    if (!denominator) return std::nullopt;
    return Fraction{static_cast<double>(numerator), static_cast<double>(*denominator)};
}

// '45 3/8': at the space behind the whole number.
std::optional<Fraction> ReadSpacedFraction(PageBuffer& page)
{
    const auto numerator = ReadWholeNumber(page);
    if (!numerator) return std::nullopt;
    return ReadDenominator(page, *numerator);
}

std::optional<Fraction> ReadDecimalPart(PageBuffer& page)
{
    ++page.PageCursor; // the "."
    const std::int32_t start = page.PageCursor;
    const auto numerator = ReadWholeNumber(page);
    if (!numerator) return std::nullopt;
    // Ten to the power of the characters consumed, fillers included. Held as a double: as a
    // 32-bit integer a ten-digit decimal part would overflow and lose a valid price.
    double denominator = 1;
    for (std::int32_t consumed = page.PageCursor - start; consumed > 0; --consumed) denominator *= 10;
    return Fraction{static_cast<double>(*numerator), denominator};
}

} // namespace

std::string StripHtmlTags(std::string_view markup)
{
    std::string result;
    result.reserve(markup.size() / 2);
    std::size_t p = 0;
    while (true) {
        while (p < markup.size() && IsSpaceOrBelow(markup[p])) ++p;
        if (p >= markup.size()) return result;

        const std::size_t tagStart = markup.find('<', p);
        const std::string_view run =
            TrimTrailingBlanks(markup.substr(p, tagStart == std::string_view::npos ? std::string_view::npos
                                                                                    : tagStart - p));
        if (!run.empty()) {
            result.append(run);
            result.append(LineBreak);
        }
        if (tagStart == std::string_view::npos) return result;

        const std::size_t tagEnd = markup.find('>', tagStart + 1);
        if (tagEnd == std::string_view::npos) return result; // an unclosed tag drops the rest
        p = tagEnd + 1;
    }
}

bool FindLabelLine(PageBuffer& page, std::string_view label)
{
    std::string pattern(label == AnywhereLabel ? "" : LineBreak);
    pattern.append(label);
    const std::size_t match = page.PageText.find(pattern);
    if (match == std::string::npos) return false;

    // Counted from the CR, the label's length lands on its next-to-last character: either way the
    // cursor is still on the label's line, whose rest is passed over with the line break.
    SetCursorIndex(page, match + label.size());
    AdvanceWhile(page, [](char c) { return !IsControl(c); });
    AdvanceWhile(page, IsControl);
    return true;
}

bool FindNextKeyword(PageBuffer& page, std::string_view keyword)
{
    const std::size_t from = CursorIndex(page);
    if (from > page.PageText.size()) return false;
    const std::size_t match = page.PageText.find(keyword, from);
    if (match == std::string::npos) return false;
    SetCursorIndex(page, match + keyword.size());
    return true;
}

std::optional<std::string> ReadTextField(PageBuffer& page, int maximumLength)
{
    if (!SkipBefore(page, IsSpaceOrBelow)) return std::nullopt;
    const std::size_t start = CursorIndex(page);
    std::size_t end = start;
    const std::size_t limit = maximumLength > 0 ? static_cast<std::size_t>(maximumLength) : 0;
    while (end < page.PageText.size() && end - start < limit && !IsControl(page.PageText[end])) ++end;
    SetCursorIndex(page, end);
    return page.PageText.substr(start, end - start);
}

std::optional<std::int32_t> ReadWholeNumber(PageBuffer& page)
{
    if (!SkipBefore(page, IsFiller)) return std::nullopt;
    std::int64_t value = 0;
    for (int taken = 0; taken < MaximumNumberDigits; ++taken) {
        const auto c = CursorCharacter(page);
        if (!c || !IsDigit(*c)) break;
        value = value * 10 + (*c - '0');
        ++page.PageCursor;
    }
    // An overflowing number is consumed whole, so that the next read starts at the next value
    // instead of at the number's last digit.
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<float> ReadPriceValue(PageBuffer& page)
{
    if (!SkipBefore(page, IsFiller)) return std::nullopt;
    const char sign = *CursorCharacter(page);
    if (sign == '-' || sign == '+') ++page.PageCursor;

    auto whole = ReadWholeNumber(page);
    if (!whole) return std::nullopt;

    std::optional<Fraction> fraction = Fraction{};
    switch (CursorCharacter(page).value_or('\0')) {
    case ' ': fraction = ReadSpacedFraction(page); break;
    case '/': // '3/8': the number read was the numerator
        fraction = ReadDenominator(page, *whole);
        whole = 0;
        break;
    case '.': fraction = ReadDecimalPart(page); break;
    default: break;
    }
    if (!fraction) return std::nullopt;
    // A zero denominator means there is no fraction to speak of, not a division by zero.
    const double part = fraction->Denominator == 0 ? 0 : fraction->Numerator / fraction->Denominator;
    const auto value = static_cast<float>(part + static_cast<double>(*whole));
    return sign == '-' ? -value : value;
}
