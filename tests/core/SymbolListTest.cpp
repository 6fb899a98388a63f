// The symbol file's limits, which no table row can hold: the rows of single lines are in
// cases/tables/damaged-records.tsv.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run/RunStatus.h"
#include "core/run/SymbolList.h"
#include "core/text/TextFile.h"
#include "support/TemporaryDirectory.h"

namespace {

using Symbols = std::vector<std::string>;

Symbols LoadFrom(const std::string& content)
{
    const TemporaryDirectory directory;
    const std::string path = directory.File("Symbols.sym");
    EXPECT_TRUE(ReplaceFile(path, content));
    std::optional<Symbols> symbols = ReadSymbolFile(path);
    if (!symbols) return {"<unreadable>"};
    SortSymbols(*symbols);
    MergeDuplicateSymbols(*symbols);
    return *symbols;
}

} // namespace

TEST(LoadSymbols, AHugeLineGivesSixCharactersAndTheLinesAroundItStillCount)
{
    const std::string huge(10'000'000, 'q');
    EXPECT_EQ(LoadFrom(huge + "\r\nibm"), (Symbols{"IBM", "QQQQQQ"}));
    EXPECT_EQ(LoadFrom("ibm\r\n" + huge), (Symbols{"IBM", "QQQQQQ"}));
    EXPECT_EQ(LoadFrom(" " + huge + "\r\nibm\r\n"), (Symbols{"IBM"}));
    EXPECT_EQ(LoadFrom(std::string(1000, '\0') + "\nibm"), (Symbols{"IBM"}));
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
