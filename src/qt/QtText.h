#pragma once
// The core keeps its texts as UTF-8 std::strings; the widgets and Qt services take QStrings.

#include <QString>
#include <string_view>

inline QString ToQ(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
