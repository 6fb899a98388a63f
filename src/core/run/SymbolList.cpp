#include "core/run/SymbolList.h"

#include <algorithm>

#include "core/text/LineStarts.h"
#include "core/text/Ascii.h"
#include "core/text/TextFile.h"
#include "core/run/RunStatus.h"

namespace {

constexpr std::size_t MaxSymbolLength = 6;

// ASCII only: a byte of a national character set is no letter here, whatever the locale says.
bool IsSymbolCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

constexpr const char* ChooseAnotherFileText =
    "Please use File menu - Choose Symbol File to select another file.";

} // namespace

std::string SymbolOfLine(std::string_view line)
{
    std::string symbol;
    for (std::size_t i = 0; i < line.size() && i < MaxSymbolLength; ++i) {
        if (!IsSymbolCharacter(line[i])) break;
        symbol += AsciiUpper(line[i]);
    }
    return symbol;
}

std::optional<std::vector<std::string>> ReadSymbolFile(const std::string& fnSym, bool* restIgnored)
{
    std::vector<std::string> symbols;
    bool full = false;
    const bool read = ReadLineStarts(fnSym, MaxSymbolLength, [&symbols, &full](std::string_view line) {
        std::string symbol = SymbolOfLine(line);
        if (symbol.empty()) return true;
        full = symbols.size() == static_cast<std::size_t>(SymbolCapacityLimit);
        if (!full) symbols.push_back(std::move(symbol));
        return !full;
    });
    if (!read) return std::nullopt;
    if (restIgnored) *restIgnored = full;
    return symbols;
}

void SortSymbols(std::vector<std::string>& symbols)
{
    // std::string compares its bytes as unsigned char, which is character-code order.
    std::sort(symbols.begin(), symbols.end());
}

void MergeDuplicateSymbols(std::vector<std::string>& symbols)
{
    symbols.erase(std::unique(symbols.begin(), symbols.end()), symbols.end());
}

std::string CannotOpenSymbolFileText(std::string_view fnSym)
{
    return "Cannot open " + std::string(fnSym) + " for input.\r\n" + ChooseAnotherFileText;
}

std::string RestIgnoredText(std::string_view fnSym)
{
    return std::string(fnSym) + " holds more than " + std::to_string(SymbolCapacityLimit) +
           " symbols; the rest of the file was ignored.";
}

std::string NoSymbolsText(std::string_view fnSym)
{
    return std::string(fnSym) + " contains no symbols, process stopped.\r\n" + ChooseAnotherFileText;
}

std::string SortingSymbolsText(std::size_t count)
{
    return "Sorting " + std::to_string(count) + " symbols please wait...";
}
