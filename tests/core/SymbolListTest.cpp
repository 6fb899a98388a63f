#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/TextFile.h"
#include "core/run/RunStatus.h"
#include "core/run/SymbolList.h"
#include "support/TemporaryDirectory.h"

namespace {

using Symbols = std::vector<std::string>;

// The whole load as the run window does it: read, sort, merge.
Symbols LoadFrom(const std::string& content)
{
    const TemporaryDirectory directory;
    const std::string path = directory.File("Symbols.sym");
    EXPECT_TRUE(ReplaceFile(path, content));
    std::optional<Symbols> symbols = ReadSymbolFile(path);
    EXPECT_TRUE(symbols.has_value());
    if (!symbols) return {};
    SortSymbols(*symbols);
    MergeDuplicateSymbols(*symbols);
    return *symbols;
}

} // namespace

TEST(SymbolOfLine, TakesTheLeadingRunOfAtMostSixAsciiLettersAndDigitsUpperCased)
{
    const std::pair<const char*, const char*> rows[] = {
        {"abc corp", "ABC"}, {"ABC.D", "ABC"}, {"ABCDEFGH", "ABCDEF"}, {"Xyz-1", "XYZ"},
        {"b2b9z", "B2B9Z"},  {"1", "1"},       {"", ""},               {" xyz", ""},
        {"\txyz", ""},       {"-ABC", ""},     {"@", ""},
        {"\xC4RZ", ""},      // a national letter is no ASCII letter
        {"AB\xC4Z", "AB"},   // and ends the run
        {"[ABC", ""},        // the codes between 'Z' and 'a' are no letters
        {"`ABC", ""},
    };
    for (const auto& [line, symbol] : rows) EXPECT_EQ(SymbolOfLine(line), symbol) << line;
}

TEST(LoadSymbols, SortsByCharacterCodeMergesDuplicatesAndSkipsUnusableLines)
{
    EXPECT_EQ(LoadFrom("abc\r\nABC\r\n xyz\r\nXyz-1\r\n\r\nAAA\r\n1ABC\r\nAB\r\nZ\r\n9\r\n"),
              (Symbols{"1ABC", "9", "AAA", "AB", "ABC", "XYZ", "Z"}));
}

TEST(LoadSymbols, KeepsTheFirst30000UsableLinesBeforeMerging)
{
    // 30000 usable lines (with blanks in between that do not count), one of them a repeat, then
    // symbols that would sort first if they were stored.
    std::string content;
    Symbols expected;
    for (int i = 0; i < SymbolCapacityLimit; ++i) {
        const bool repeat = i == 15000;
        const std::string symbol = "S" + std::to_string(10000 + (repeat ? 0 : i));
        content += symbol + "\r\n";
        if (i % 1000 == 0) content += " skipped\r\n";
        if (!repeat) expected.push_back(symbol);
    }
    content += "AAAA\r\n0\r\n";
    EXPECT_EQ(LoadFrom(content), expected);
}

TEST(SortingSymbolsText, CountsTheSymbols)
{
    EXPECT_EQ(SortingSymbolsText(12345), "Sorting 12345 symbols please wait...");
}
