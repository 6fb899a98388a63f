#pragma once
// Character rules of the texts the program reads (pages, records, settings, host names). ASCII
// only: the locale never decides what a letter or a blank is, and bytes above 127 are ordinary
// text.

#include <string>
#include <string_view>

// Codes 0 to 32: the controls, line ends and the space. A page run or a typed host name is
// trimmed of these.
inline bool IsSpaceOrBelow(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Space and tab: what may stand around a value of a comma-delimited record.
inline bool IsRecordBlank(char c) { return c == ' ' || c == '\t'; }

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline void AppendAsciiUpper(std::string& into, std::string_view piece)
{
    for (const char c : piece) into += AsciiUpper(c);
}

inline std::string AsciiUpper(std::string_view text)
{
    std::string upper;
    upper.reserve(text.size());
    AppendAsciiUpper(upper, text);
    return upper;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}
