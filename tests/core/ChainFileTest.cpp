// Chain files into Quote.txt: golden cases (tests/data/chains/*.Quote.txt and *.notes: the
// quotes and the messages of one import each) and a table of headers that must be refused.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/chains/ChainImport.h"
#include "core/text/TextFile.h"
#include "support/TemporaryDirectory.h"

namespace {

const std::string ChainData = QUILLON_TEST_DATA "/chains/";
const LocalDateTime QuoteDate{2026, 3, 4, 11, 30, 0};

struct ImportCase {
    std::string Name;        // the golden files' name
    std::string Chains, Stocks;
    ChainLayout Layout;
    ChainSnapshot Snapshot;
};

const ImportCase ImportCases[] = {
    {"cboe-1545", "cboe.csv", "stocks.csv", ChainLayout::Auto, ChainSnapshot::At1545},
    {"cboe-eod", "cboe.csv", "", ChainLayout::Cboe, ChainSnapshot::EndOfDay},
    {"generic", "generic.csv", "", ChainLayout::Auto, ChainSnapshot::At1545},
};

void PrintTo(const ImportCase& c, std::ostream* out) { *out << c.Name; }

// The golden file's text; with QUILLON_WRITE_GOLDEN set, `actual` is written as the new golden
// first (to be read over before it is committed).
std::string Golden(const std::string& name, const std::string& actual) {
    if (std::getenv("QUILLON_WRITE_GOLDEN")) static_cast<void>(ReplaceFile(ChainData + name, actual));
    return ReadWholeFile(ChainData + name).value_or("<missing " + name + ">");
}

// The text with every occurrence of `from` replaced.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class ChainImportCase : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ChainImportCase, WritesTheGoldenQuotesAndNotes) {
    const ImportCase& c = GetParam();
    TemporaryDirectory dir;
    const FilePaths paths = FilePaths::Build(dir.Path());
    ASSERT_TRUE(ReplaceFile(paths.DefaultFnSym, "ABC\r\nGRID\r\nMISSING\r\nNOOPT\r\nPUTZ\r\nWEEK\r\n"));
    ASSERT_TRUE(ReplaceFile(paths.FnQuote, "the last pass's quotes\r\n"));
    ImportRequest request;
    request.Chains = {ChainData + c.Chains, c.Layout, c.Snapshot, QuoteDate, std::nullopt};
    request.StocksPath = c.Stocks.empty() ? "" : ChainData + c.Stocks;
    request.FnSym = paths.DefaultFnSym;

    const ImportOutcome outcome = ImportChains(request, paths);
    ASSERT_TRUE(outcome.Written) << outcome.Result;
    const std::string quotes = ReadWholeFile(paths.FnQuote).value_or("");
    EXPECT_EQ(quotes, Golden(c.Name + ".Quote.txt", quotes));
    EXPECT_EQ(ReadWholeFile(paths.FnQuoteBak).value_or(""), "the last pass's quotes\r\n");
    const std::string notes = Replaced(Replaced(outcome.Notes + outcome.Result, ChainData, "DATA/"), dir.Path(), "DIR");
    EXPECT_EQ(notes, Golden(c.Name + ".notes", notes));
}

INSTANTIATE_TEST_SUITE_P(Golden, ChainImportCase, ::testing::ValuesIn(ImportCases),
                         [](const auto& info) { return Replaced(info.param.Name, "-", "_"); });

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
