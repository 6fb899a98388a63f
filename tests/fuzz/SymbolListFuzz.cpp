// Symbol file loading on any content: every symbol is 1 to 6 upper-case letters or digits, at most
// 30000 of them, and the sorted, merged list is strictly ascending.

#include <cstdint>

#include "FuzzFile.h"
#include "core/run/RunStatus.h"
#include "core/run/SymbolList.h"

namespace {

bool IsSymbol(const std::string& symbol)
{
    if (symbol.empty() || symbol.size() > 6) return false;
    for (const char c : symbol)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto symbols = ReadSymbolFile(WriteFuzzFile("Symbols.sym", data, size));
    if (!symbols) __builtin_trap(); // the file exists, so it must open
    if (symbols->size() > static_cast<std::size_t>(SymbolCapacityLimit)) __builtin_trap();
    SortSymbols(*symbols);
    MergeDuplicateSymbols(*symbols);
    for (std::size_t i = 0; i < symbols->size(); ++i) {
        if (!IsSymbol((*symbols)[i])) __builtin_trap();
        if (i > 0 && !((*symbols)[i - 1] < (*symbols)[i])) __builtin_trap();
    }
    return 0;
}
