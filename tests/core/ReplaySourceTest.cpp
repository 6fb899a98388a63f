// Replaying the quote cache (a pass over several records is a row of cases/tables/replay.tsv):
// records read back as written, and damaged caches as the replay meets them: a symbol whose
// record cannot be read whole is bad, what was read before the damage stays, the symbols after it
// are still found, and nothing hangs.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/SharedState.h"
#include "core/quotes/QuoteRecord.h"
#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/OptionWindow.h"
#include "core/run/QuoteFileReader.h"
#include "core/run/ReadQuoteRecord.h"
#include "core/run/ReplaySource.h"
#include "support/LoggingRunHost.h"
#include "support/FileLines.h"
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

class ReplayTest : public ::testing::Test {
protected:
    ReplayTest() : clock(Now), state(clock), source(state, host)
    {
        state.Paths = FilePaths::Build(directory.Path());
    }

    void WriteCache(const std::string& content) { ASSERT_TRUE(ReplaceFile(state.Paths.FnQuote, content)); }

    // Replays the symbols in list order as one pass does over a cache holding `content`.
    Results Replay(const std::string& content, const std::vector<std::string>& symbols)
    {
        WriteCache(content);
        return Replay(symbols);
    }

    // Replays the symbols in list order as one pass does; the result of each.
    Results Replay(const std::vector<std::string>& symbols)
    {
        Results results;
        EXPECT_TRUE(source.StartPass());
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            state.Run.SymbolIndex = static_cast<std::int16_t>(i + 1);
            state.Run.CurrentSymbol = symbols[i];
            source.BeginSymbol();
            const std::optional<std::int16_t> ok = source.Step();
            EXPECT_TRUE(ok.has_value());
            results.push_back(ok.value_or(0) != 0);
        }
        return results;
    }

    TemporaryDirectory directory;
    FixedClock clock;
    SharedState state;
    std::vector<std::string> log;
    LoggingRunHost host{log};
    ReplaySource source;
};

TEST_F(ReplayTest, ReadsBackWhatTheCacheWriterWroteAndClearsTheSlotsNotCached)
{
    const OptionSeries series = SeriesOf("IBM");
    const std::string record = RecordOf("IBM", 112.375f, &series);
    WriteCache(record);
    ASSERT_EQ(Replay({"IBM"}), Results{true});
    EXPECT_EQ(StockRecordText("IBM", state.Quote.Stock) + OptionBlockText(&state.Quote.Series), record);
    EXPECT_EQ(state.Quote.Stock.OptionRoot, "IBM");
    EXPECT_EQ(log.back(), "status1 Reading quotes of IBM");
    // The strikes follow the replayed last sale, and the calendar follows the clock.
    EXPECT_EQ(state.Quote.Strikes.StrikePrice, SelectStrikes(112.375f).StrikePrice);
    EXPECT_EQ(state.Quote.Calendar.ExpiryDay, BuildExpirationCalendar(Now).ExpiryDay);

    const OptionSeries& read = state.Quote.Series;
    for (int side : {Calls, Puts})
        for (int strike = 0; strike < StrikeCount; ++strike)
            for (int expiration = ShownExpirations.back() + 1; expiration < SeriesExpirations; ++expiration) {
                EXPECT_EQ(read.OptSymbol[side][strike][expiration], "");
                for (auto column : OptionRowValues) EXPECT_EQ((read.*column)[side][strike][expiration], -1.0f);
            }
    for (int side : {Calls, Puts})
        for (int strike : {ShownStrikes.front() - 1, ShownStrikes.back() + 1})
            EXPECT_EQ(read.OptSymbol[side][strike][0], "") << strike;
}

TEST_F(ReplayTest, ARecordCutAfterAnyOfItsLinesIsBadAndKeepsWhatWasRead)
{
    const Lines whole = LinesOf(RecordOf("IBM"));
    ASSERT_EQ(whole.size(), RecordLines);
    QuoteData cleared;
    ClearQuoteRecord(cleared, Now);
    const Lines clearedLines = RecordLinesOf("IBM", cleared);

    for (std::size_t kept = 0; kept <= RecordLines; ++kept) {
        SCOPED_TRACE(testing::Message() << kept << " lines kept");
        ASSERT_EQ(Replay(Joined(whole, kept), {"IBM"}), Results{kept == RecordLines});
        const Lines read = RecordLinesOf("IBM", state.Quote);
        // The marker (line 27) is not a value of the record; its option lines follow it.
        for (std::size_t line = 1; line < RecordLines; ++line) {
            if (line == StockLines) continue;
            ASSERT_EQ(read[line], line < kept ? whole[line] : clearedLines[line]) << "line " << line + 1;
        }
    }
}

// Damage within a line (a huge one too) is a row of cases/tables/damaged-records.tsv; here the
// damage that moves lines.
TEST_F(ReplayTest, DamagedRecordsAreBadAndTheRecordsAfterThemAreStillFound)
{
    const std::string ibm = RecordOf("IBM");
    const auto Swapped = [&ibm](std::size_t a, std::size_t b) {
        Lines lines = LinesOf(ibm);
        std::swap(lines[a], lines[b]);
        return Joined(lines, lines.size());
    };

    const struct {
        const char* name;
        std::string ibmRecord; // replayed between the intact records of AAA and MSFT
        bool ibm;
    } rows[] = {
        {"intact", ibm, true},
        {"company name and last sale swapped", Swapped(1, 8), false},
        {"the option block before its stock record",
         ibm.substr(ibm.find(OptionsYes) - 1) + ibm.substr(0, ibm.find(OptionsYes) - 1), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Replay(RecordOf("AAA") + row.ibmRecord + RecordOf("MSFT", 145), {"AAA", "IBM", "MSFT"}),
                  (Results{true, row.ibm, true}));
        EXPECT_EQ(state.Quote.Stock.LastSale, 145.0f) << "MSFT read whole";
    }
}

// One line of ten million commas holds ten million empty values; split into values at once it
// takes about 700 MB for a 10 MB file. The reader holds only the value in hand.
TEST_F(ReplayTest, AHugeLineOfCommasIsReadInLittleMemory)
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
TEST_F(ReplayTest, AValueBeyondTheLimitIsPassedOverAndTheNextRecordIsFound)
{
    const std::vector<std::string> symbols{"AAA", "IBM", "MSFT"};
    // The record reader alone (a bare value over the limit before a record is a table row).
    const auto ReadDirectly = [&](const std::string& content, std::size_t count) {
        WriteCache(content);
        QuoteFileReader reader;
        EXPECT_TRUE(reader.Open(state.Paths.FnQuote));
        Results results;
        for (std::size_t i = 0; i < count; ++i) results.push_back(ReadQuoteRecord(reader, state.Quote, symbols[i], Now));
        return results;
    };
    const auto WithName = [](std::size_t length) {
        std::string record = RecordOf("IBM");
        return record.replace(record.find("ACME WIDGETS"), 12, std::string(length, 'N'));
    };
    EXPECT_EQ(ReadDirectly(RecordOf("AAA") + WithName(LongestQuoteValue), 2), (Results{true, true}))
        << "a company name at the limit";
    EXPECT_EQ(state.Quote.Stock.CompanyName, std::string(LongestQuoteValue, 'N'));
    EXPECT_EQ(ReadDirectly(RecordOf("AAA") + WithName(LongestQuoteValue + 1) + RecordOf("MSFT"), 3),
              (Results{true, false, true})) << "a company name over it";
}

class QuoteFileReaderTest : public ::testing::Test {
protected:
    std::vector<std::string> ValuesOf(const std::string& content)
    {
        const std::string path = directory.File("Quote.txt");
        EXPECT_TRUE(ReplaceFile(path, content));
        QuoteFileReader reader;
        EXPECT_TRUE(reader.Open(path));
        std::vector<std::string> values;
        while (auto value = reader.ReadValue()) values.push_back(value->Text);
        return values;
    }
    TemporaryDirectory directory;
};

TEST_F(QuoteFileReaderTest, CrLfSplitAcrossTheReadBufferIsOneLineEnd)
{
    for (std::size_t cut : {65535u, 65536u}) {
        std::string content(cut - 1, 'x');
        content += "\r\n7\r\n";
        const std::vector<std::string> values = ValuesOf(content);
        ASSERT_EQ(values.size(), 2u) << cut;
        EXPECT_EQ(values[1], "7");
    }
}

// The reader must hand out the values a line-by-line split would, wherever the read buffer ends:
// random texts of the characters that matter (quotes, commas, blanks, every line end), long enough
// to cross the buffer several times, compared with the split of each line.
TEST_F(QuoteFileReaderTest, ReadsTheValuesOfALineByLineSplitAcrossBufferEnds)
{
    constexpr char Alphabet[] = {'"', ',', ' ', '\t', '\r', '\n', 'A', '7', '.', '<'};
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string content(200'000 + random() % 1000, 'A');
        for (char& c : content) c = Alphabet[random() % sizeof Alphabet];
        if (round % 2) content += ','; // a last value that is empty and has no line end

        std::vector<std::string> expected;
        for (const std::string_view line : SplitLines(content))
            for (const RecordValue& value : SplitRecord(line)) expected.push_back(value.Text);
        ASSERT_EQ(ValuesOf(content), expected) << "round " << round;
    }
}

} // namespace
