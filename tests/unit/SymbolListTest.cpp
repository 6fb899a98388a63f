#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "app/TextFile.h"
#include "tracing/RunStatus.h"
#include "tracing/SymbolList.h"
#include "TemporaryDirectory.h"

namespace {

using Symbols = std::vector<std::string>;

// The whole load as the run window does it: read, sort, merge.
Symbols LoadFrom(const TemporaryDirectory& directory, const std::string& content)
{
    const std::string path = directory.File("Symbols.sym");
    EXPECT_TRUE(ReplaceFile(path, content));
    std::optional<Symbols> symbols = ReadSymbolFile(path);
    EXPECT_TRUE(symbols.has_value());
    if (!symbols) return {};
    SortSymbols(*symbols);
    MergeDuplicateSymbols(*symbols);
    return *symbols;
}

TEST(SymbolOfLine, TakesTheLeadingRunOfAtMostSixLettersAndDigitsUpperCased)
{
    EXPECT_EQ(SymbolOfLine("abc corp"), "ABC");
    EXPECT_EQ(SymbolOfLine("ABC.D"), "ABC");
    EXPECT_EQ(SymbolOfLine("ABCDEFGH"), "ABCDEF");
    EXPECT_EQ(SymbolOfLine("Xyz-1"), "XYZ");
    EXPECT_EQ(SymbolOfLine("b2b9z"), "B2B9Z");
    EXPECT_EQ(SymbolOfLine("1"), "1");
}

TEST(SymbolOfLine, GivesNothingForLinesThatDoNotStartWithALetterOrDigit)
{
    EXPECT_EQ(SymbolOfLine(""), "");
    EXPECT_EQ(SymbolOfLine(" xyz"), "");
    EXPECT_EQ(SymbolOfLine("\txyz"), "");
    EXPECT_EQ(SymbolOfLine("-ABC"), "");
    EXPECT_EQ(SymbolOfLine("\xC4RZ"), "");  // a national letter is no ASCII letter
    EXPECT_EQ(SymbolOfLine("AB\xC4Z"), "AB"); // and ends the run
    EXPECT_EQ(SymbolOfLine("@"), "");
    EXPECT_EQ(SymbolOfLine("[ABC"), ""); // the codes between 'Z' and 'a' are no letters
    EXPECT_EQ(SymbolOfLine("`ABC"), "");
}

TEST(LoadSymbols, MergesDuplicatesAndSkipsUnusableLines)
{
    TemporaryDirectory directory;
    EXPECT_EQ(LoadFrom(directory, "abc\r\nABC\r\n xyz\r\nXyz-1\r\n\r\n"), (Symbols{"ABC", "XYZ"}));
}

TEST(LoadSymbols, SortsByCharacterCode)
{
    TemporaryDirectory directory;
    EXPECT_EQ(LoadFrom(directory, "AAA\r\nABC\r\n1ABC\r\nAB\r\nZ\r\n9\r\n"),
              (Symbols{"1ABC", "9", "AAA", "AB", "ABC", "Z"}));
}

TEST(LoadSymbols, EndsLinesAtCrLfLoneCrAndLoneLf)
{
    TemporaryDirectory directory;
    EXPECT_EQ(LoadFrom(directory, "AA\r\nBB\rCC\nDD\n\rEE"),
              (Symbols{"AA", "BB", "CC", "DD", "EE"}));
}

TEST(LoadSymbols, FileWithoutUsableLinesGivesAnEmptyList)
{
    TemporaryDirectory directory;
    EXPECT_TRUE(LoadFrom(directory, " A\r\n.B\r\n\r\n---\r\n").empty());
    EXPECT_TRUE(LoadFrom(directory, "").empty());
}

TEST(LoadSymbols, KeepsTheFirst30000UsableLinesBeforeMerging)
{
    TemporaryDirectory directory;
    // 30000 usable lines (with blanks in between that do not count), then symbols that would
    // sort first if they were stored.
    std::string content;
    Symbols expected;
    for (int i = 0; i < SymbolCapacityLimit; ++i) {
        std::string symbol = "S" + std::to_string(10000 + i % 20000); // 10000 repeated
        content += symbol + "\r\n";
        if (i % 1000 == 0) content += " skipped\r\n";
        if (i < 20000) expected.push_back(symbol);
    }
    content += "AAAA\r\n0\r\n";
    std::sort(expected.begin(), expected.end());
    const Symbols loaded = LoadFrom(directory, content);
    EXPECT_EQ(loaded.size(), 20000u);
    EXPECT_EQ(loaded, expected);
}

TEST(ReadSymbolFile, MissingFileCannotBeRead)
{
    TemporaryDirectory directory;
    EXPECT_FALSE(ReadSymbolFile(directory.File("none.sym")).has_value());
}

TEST(SymbolListMessages, NameTheFileAndPointToTheMenu)
{
    EXPECT_EQ(CannotOpenSymbolFileText("/d/S.sym"),
              "Cannot open /d/S.sym for input.\r\n"
              "Please use File menu - Choose Symbol File to select another file.");
    EXPECT_EQ(NoSymbolsText("/d/S.sym"),
              "/d/S.sym contains no symbols, process stopped.\r\n"
              "Please use File menu - Choose Symbol File to select another file.");
    EXPECT_EQ(SortingSymbolsText(12345), "Sorting 12345 symbols please wait...");
}

} // namespace
