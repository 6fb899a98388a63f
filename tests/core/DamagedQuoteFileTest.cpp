// Damaged quote caches as the replay meets them: a symbol whose record cannot be read whole is bad,
// what was read before the damage stays, the symbols after it are still found, and nothing hangs.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/quotes/QuoteRecord.h"
#include "core/run/QuoteFileReader.h"
#include "core/run/ReadQuoteRecord.h"
#include "core/run/ReplaySource.h"
#include "support/FileLines.h"
#include "support/FakeRunHost.h"
#include "support/QuoteRecordSamples.h"
#include "support/SanitizerBuild.h"
#include "support/TemporaryDirectory.h"

namespace {

using Results = std::vector<bool>;

const LocalDateTime Now{2026, 3, 9, 15, 30, 0};
constexpr std::size_t StockLines = 26;
constexpr std::size_t RecordLines = StockLines + 1 + 12; // stock record, marker, option lines

// The record as the reader left the quote: what a writer would write of it, line by line.
Lines RecordLinesOf(const std::string& symbol, const QuoteData& quote)
{
    return LinesOf(StockRecordText(symbol, quote.Stock) + OptionBlockText(&quote.Series));
}

class DamagedQuoteFileTest : public ::testing::Test {
protected:
    // Replays `symbols` in list order from a cache holding `content`, as one pass does.
    Results Replay(const std::string& content, const std::vector<std::string>& symbols)
    {
        EXPECT_TRUE(ReplaceFile(path, content));
        EXPECT_TRUE(reader.Open(path));
        Results results;
        for (const std::string& symbol : symbols) results.push_back(ReadQuoteRecord(reader, quote, symbol, Now));
        return results;
    }

    TemporaryDirectory dir;
    std::string path = dir.File("Quote.txt");
    QuoteFileReader reader;
    QuoteData quote;
};

} // namespace

TEST_F(DamagedQuoteFileTest, ARecordCutAfterAnyOfItsLinesIsBadAndKeepsWhatWasRead)
{
    const Lines whole = LinesOf(RecordOf("IBM"));
    ASSERT_EQ(whole.size(), RecordLines);
    QuoteData cleared;
    ClearQuoteRecord(cleared, Now);
    const Lines clearedLines = RecordLinesOf("IBM", cleared);

    for (std::size_t kept = 0; kept <= RecordLines; ++kept) {
        SCOPED_TRACE(testing::Message() << kept << " lines kept");
        ASSERT_EQ(Replay(Joined(whole, kept), {"IBM"}), Results{kept == RecordLines});
        const Lines read = RecordLinesOf("IBM", quote);
        // The marker (line 27) is not a value of the record; its option lines follow it.
        for (std::size_t line = 1; line < RecordLines; ++line) {
            if (line == StockLines) continue;
            ASSERT_EQ(read[line], line < kept ? whole[line] : clearedLines[line]) << "line " << line + 1;
        }
    }
}

TEST_F(DamagedQuoteFileTest, DamagedRecordsAreBadAndTheRecordsAfterThemAreStillFound)
{
    const std::string ibm = RecordOf("IBM");
    const auto Replaced = [&ibm](const std::string& from, const std::string& to) {
        std::string record = ibm;
        record.replace(record.find(from), from.size(), to);
        return record;
    };
    const auto Swapped = [&ibm](std::size_t a, std::size_t b) {
        Lines lines = LinesOf(ibm);
        std::swap(lines[a], lines[b]);
        return Joined(lines, lines.size());
    };
    std::mt19937 random(20260309);
    std::string junk(100000, '\0');
    for (char& c : junk) c = static_cast<char>(random() % 256);
    junk += "\r\n";

    const struct {
        const char* name;
        std::string ibmRecord; // replayed between the intact records of AAA and MSFT
        bool ibm;
    } rows[] = {
        {"intact", ibm, true},
        {"a last sale that is no number", Replaced("\r\n45.5\r\n", "\r\n45.5x\r\n"), false},
        {"an empty price line", Replaced("\r\n46.5\r\n", "\r\n\r\n"), false},
        {"nan for a price", Replaced("\r\n46.5\r\n", "\r\nnan\r\n"), false},
        {"inf for a price", Replaced("\r\n46.5\r\n", "\r\n-inf\r\n"), false},
        {"a price beyond single precision", Replaced("\r\n46.5\r\n", "\r\n1E+39\r\n"), false},
        {"a decimal comma splits a price in two", Replaced("\r\n46.5\r\n", "\r\n46,5\r\n"), false},
        {"a volume with a fraction", Replaced("\r\n1234567\r\n", "\r\n1234567.5\r\n"), false},
        {"a volume beyond 32 bits", Replaced("\r\n1234567\r\n", "\r\n4294967296\r\n"), false},
        {"shares outstanding that are no number", Replaced("\r\n987654000\r\n", "\r\n9.8E\r\n"), false},
        {"the option block marked NO", Replaced("<OPTIONS>YES", "<OPTIONS>NO"), false},
        {"the option marker in lower case", Replaced("<OPTIONS>YES", "<OPTIONS>yes"), false},
        {"an option value that is no number", Replaced(",121,", ",1Z1,"), false},
        {"NUL inside a quoted text", Replaced("ACME WIDGETS", std::string("ACME\0WIDGETS", 12)), true},
        {"company name and last sale swapped", Swapped(1, 8), false},
        {"the option block before its stock record",
         ibm.substr(ibm.find(OptionsYes) - 1) + ibm.substr(0, ibm.find(OptionsYes) - 1), false},
        {"binary junk in front of the record", junk + ibm, true},
        {"a 10 MB company name", Replaced("ACME WIDGETS", std::string(10'000'000, 'N')), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Replay(RecordOf("AAA") + row.ibmRecord + RecordOf("MSFT", 145), {"AAA", "IBM", "MSFT"}),
                  (Results{true, row.ibm, true}));
        EXPECT_EQ(quote.Stock.LastSale, 145.0f) << "MSFT read whole";
    }
}

TEST_F(DamagedQuoteFileTest, WhatWasReadBeforeABadValueStays)
{
    std::string ibm = RecordOf("IBM");
    ibm.replace(ibm.find("\r\n54.5\r\n"), 8, "\r\nabc\r\n"); // the 52-week high
    ASSERT_EQ(Replay(ibm, {"IBM"}), Results{false});
    EXPECT_EQ(quote.Stock.CompanyName, "ACME WIDGETS");
    EXPECT_EQ(quote.Stock.LastSale, 45.5f);
    EXPECT_EQ(quote.Stock.PreviousClose, 53.5f);
    EXPECT_EQ(quote.Stock.High52Week, 0.0f);
    EXPECT_EQ(quote.Stock.Volume, 0);
    EXPECT_EQ(quote.Series.OptSymbol[Calls][1][0], "");
}

TEST_F(DamagedQuoteFileTest, OutOfOrderEmptyAndShapelessFilesMakeSymbolsBad)
{
    const std::string huge(10'000'000, 'x');
    const struct {
        const char* name;
        std::string content;
        Results results; // for AAA, IBM, MSFT
    } rows[] = {
        {"empty", "", {false, false, false}},
        {"line ends only", "\r\n\n\r\r\n", {false, false, false}},
        {"records in descending order", RecordOf("MSFT") + RecordOf("IBM") + RecordOf("AAA"), {false, false, true}},
        {"one 10 MB line without a line end", huge, {false, false, false}},
        {"one 10 MB line, then the records", huge + "\r\n" + RecordOf("AAA") + RecordOf("MSFT"), {true, false, true}},
        {"one 10 MB quoted line that never closes", "\"" + huge + "\r\n" + RecordOf("IBM"), {false, true, false}},
        {"a stock marker alone at the end", RecordOf("AAA") + "\"<STOCK>IBM\"", {true, false, false}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Replay(row.content, {"AAA", "IBM", "MSFT"}), row.results);
    }
}

// A directory in place of Quote.txt opens like a file and then reads as an empty one; a pass over
// it would make every symbol bad with no word why, so it stops the pass as a missing cache does.
TEST_F(DamagedQuoteFileTest, AMissingCacheStopsThePassWithItsMessageAnEmptyOneMakesSymbolsBad)
{
    FixedClock clock{Now};
    SharedState state{clock};
    state.Paths = FilePaths::Build(dir.Path());
    FakeRunHost host;
    ReplaySource source(state, host);
    const std::string message = "Cannot open " + state.Paths.FnQuote + " for input.";

    EXPECT_FALSE(source.StartPass());
    std::filesystem::create_directory(state.Paths.FnQuote);
    EXPECT_FALSE(source.StartPass());
    EXPECT_EQ(host.messages, (std::vector<std::string>{message, message}));

    std::filesystem::remove(state.Paths.FnQuote);
    ASSERT_TRUE(ReplaceFile(state.Paths.FnQuote, ""));
    ASSERT_TRUE(source.StartPass());
    for (const char* symbol : {"AAA", "IBM"}) {
        state.Run.CurrentSymbol = symbol;
        ++state.Run.SymbolIndex;
        source.BeginSymbol();
        EXPECT_EQ(source.Step(), std::optional<std::int16_t>(0)) << symbol;
    }
    EXPECT_EQ(host.messages.size(), 2u);
}

// A record that lost its last lines, followed by the intact record of the next symbol, as a pass
// killed while appending and then resumed leaves it. The next record's marker, wherever it falls in
// the short record (a text, a number, the option marker, an option line), ends that record and is
// still there for its own symbol.
TEST_F(DamagedQuoteFileTest, AShortRecordDoesNotSwallowTheNextOne)
{
    const Lines aaa = LinesOf(RecordOf("AAA"));
    for (std::size_t kept : {std::size_t{5}, StockLines - 1, StockLines + 1, RecordLines - 1}) {
        SCOPED_TRACE(testing::Message() << kept << " lines of AAA");
        EXPECT_EQ(Replay(Joined(aaa, kept) + RecordOf("IBM"), {"AAA", "IBM"}), (Results{false, true}));
    }
}

// One line of ten million commas holds ten million empty values; split into values at once it
// takes about 700 MB for a 10 MB file. The reader holds only the value in hand.
TEST_F(DamagedQuoteFileTest, AHugeLineOfCommasIsReadInLittleMemory)
{
    ASSERT_EQ(Replay(std::string(10'000'000, ','), {"IBM"}), Results{false});
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    if (!UnderAddressSanitizer) {
        EXPECT_LT(usage.ru_maxrss, 200L * 1024) << "peak kilobytes";
    }
}

// A value beyond the reader's limit is passed over whole and the read it belongs to fails: the
// record it stands in, or the scan for the next record. The value after it reads as usual. (One
// case at a time: each file is 16 MB.)
TEST_F(DamagedQuoteFileTest, AValueBeyondTheLimitIsPassedOverAndTheNextRecordIsFound)
{
    const std::vector<std::string> symbols{"AAA", "IBM", "MSFT"};
    const auto WithName = [](std::size_t length) {
        std::string record = RecordOf("IBM");
        return record.replace(record.find("ACME WIDGETS"), 12, std::string(length, 'N'));
    };
    EXPECT_EQ(Replay(RecordOf("AAA") + WithName(LongestQuoteValue), {"AAA", "IBM"}), (Results{true, true}))
        << "a company name at the limit";
    EXPECT_EQ(quote.Stock.CompanyName, std::string(LongestQuoteValue, 'N'));
    EXPECT_EQ(Replay(RecordOf("AAA") + WithName(LongestQuoteValue + 1) + RecordOf("MSFT"), symbols),
              (Results{true, false, true})) << "a company name over it";
    EXPECT_EQ(Replay(RecordOf("AAA") + std::string(LongestQuoteValue + 1, '7') + "\r\n" + RecordOf("IBM") +
                         RecordOf("MSFT"), symbols),
              (Results{true, false, true})) << "a bare value over it before a record";
}
