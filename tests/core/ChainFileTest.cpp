// Chain files whose header lacks a required column are refused, naming what is missing, and the
// quote cache stays as it was: a table of headers (tests/data/chains/headers.txt). The imports
// that succeed are golden case folders (tests/cases/cli/import-*).

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/chains/ChainImport.h"
#include "core/text/TextFile.h"
#include "support/TemporaryDirectory.h"

namespace {

const std::string ChainData = QUILLON_TEST_DATA "/chains/";
const LocalDateTime QuoteDate{2026, 3, 4, 11, 30, 0};

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

TEST(ChainHeader, AFileWithoutTheRequiredColumnsIsRefusedNamingThemAndQuoteTxtStays) {
    std::ifstream table(ChainData + "headers.txt");
    std::string line;
    int cases = 0;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string layout, header, expected;
        std::getline(fields, layout, '|');
        std::getline(fields, header, '|');
        std::getline(fields, expected);
        SCOPED_TRACE(line);
        TemporaryDirectory dir;
        const FilePaths paths = FilePaths::Build(dir.Path());
        ASSERT_TRUE(ReplaceFile(paths.DefaultFnSym, "ABC\r\n"));
        ASSERT_TRUE(ReplaceFile(paths.FnQuote, "kept\r\n"));
        ASSERT_TRUE(ReplaceFile(dir.File("chains.csv"), Trimmed(header).empty() ? "" : Trimmed(header) + "\r\nABC\r\n"));
        ImportRequest request;
        request.Chains = {dir.File("chains.csv"), *ParseChainLayout(Trimmed(layout)), ChainSnapshot::At1545,
                          QuoteDate, std::nullopt};
        request.FnSym = paths.DefaultFnSym;
        const ImportOutcome outcome = ImportChains(request, paths);
        EXPECT_FALSE(outcome.Written);
        EXPECT_EQ(outcome.Result, dir.File("chains.csv") + " is not an option chain file: " + Trimmed(expected));
        EXPECT_EQ(ReadWholeFile(paths.FnQuote).value_or(""), "kept\r\n");
        ++cases;
    }
    EXPECT_EQ(cases, 6);
}

} // namespace
