#pragma once
// A file's text as lines and back, for tests that cut, damage or compare files line by line.

#include <string>
#include <vector>

#include "core/text/TextFile.h"

using Lines = std::vector<std::string>;

inline Lines LinesOf(const std::string& text)
{
    Lines lines;
    for (const auto line : SplitLines(text)) lines.emplace_back(line);
    return lines;
}

// The first `count` lines (at most all of them), each ended by CR LF.
inline std::string Joined(const Lines& lines, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) text += lines[i] + "\r\n";
    return text;
}
