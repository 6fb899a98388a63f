#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/OptionWindow.h"
#include "core/run/QuoteFileReader.h"
#include "core/run/ReadQuoteRecord.h"
#include "core/run/ReplaySource.h"
#include "support/FakeRunHost.h"
#include "support/QuoteRecordSamples.h"
#include "support/TemporaryDirectory.h"

namespace {

const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

class ReplayTest : public ::testing::Test {
protected:
    ReplayTest() : clock(Now), state(clock), source(state, host)
    {
        state.Paths = FilePaths::Build(directory.Path());
    }

    void WriteCache(const std::string& content) { ASSERT_TRUE(ReplaceFile(state.Paths.FnQuote, content)); }

    // Replays the symbols in list order as one pass does; the result of each.
    std::vector<bool> Replay(const std::vector<std::string>& symbols)
    {
        std::vector<bool> results;
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
    FakeRunHost host;
    ReplaySource source;
};

TEST_F(ReplayTest, ReadsBackWhatTheCacheWriterWroteAndClearsTheSlotsNotCached)
{
    const OptionSeries series = SeriesOf("IBM");
    const std::string record = RecordOf("IBM", 112.375f, &series);
    WriteCache(record);
    ASSERT_EQ(Replay({"IBM"}), std::vector<bool>{true});
    EXPECT_EQ(StockRecordText("IBM", state.Quote.Stock) + OptionBlockText(&state.Quote.Series), record);
    EXPECT_EQ(state.Quote.Stock.OptionRoot, "IBM");
    EXPECT_EQ(host.LastStatus1(), "Reading quotes of IBM");
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

TEST_F(ReplayTest, SymbolsWithoutAWholeRecordAreBadAndTheRecordsAfterThemAreStillFound)
{
    const std::string ccc = RecordOf("CCC", 12);
    const struct {
        const char* name;
        std::string cache;
        std::vector<std::string> symbols;
        std::vector<bool> results;
        int missing; // symbols with no record at all, counted for the end-of-pass line
    } rows[] = {
        // BBB sorts between two records; CCC's block says NO; DDD follows the NO block; ZZZZ lies
        // after the end of the file.
        {"missing and NO", RecordOf("AAA", 10) + RecordOf("CCC", 20, nullptr) + RecordOf("DDD", 30) +
                               RecordOf("ZZZ", 40),
         {"AAA", "BBB", "CCC", "DDD", "EEE", "ZZZ", "ZZZZ"}, {true, false, false, true, false, true, false}, 3},
        {"behind a later symbol's record", RecordOf("AAA", 10) + RecordOf("CCC", 12) + RecordOf("BBB", 11),
         {"AAA", "BBB", "CCC"}, {true, false, true}, 1},
        {"truncated last record", RecordOf("AAA", 10) + ccc.substr(0, ccc.size() - 40), {"AAA", "CCC", "DDD"},
         {true, false, false}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteCache(row.cache);
        state.Run.Tally = PassTally{};
        EXPECT_EQ(Replay(row.symbols), row.results);
        EXPECT_EQ(state.Run.Tally.MissingFromQuoteFile, row.missing);
    }
}

TEST_F(ReplayTest, ShortSymbolIsItsOwnRootLongerOneTakesItFromTheFirstOptionSymbol)
{
    const OptionSeries ibm = SeriesOf("IBM");
    OptionSeries msft = SeriesOf("MSQ");
    msft.OptSymbol[Calls][ShownStrikes.front()][0].clear();
    const OptionSeries none = SeriesOf("");
    WriteCache(RecordOf("A", 50, &ibm) + RecordOf("IBM", 110, &ibm) + RecordOf("MSFT", 145, &msft) +
               RecordOf("NONE", 5, &none));
    EXPECT_EQ(Replay({"A"}), std::vector<bool>{true});
    EXPECT_EQ(state.Quote.Stock.OptionRoot, "A");
    EXPECT_EQ(Replay({"IBM"}), std::vector<bool>{true}); // A's record is passed over
    EXPECT_EQ(state.Quote.Stock.OptionRoot, "IBM");
    EXPECT_EQ(Replay({"MSFT"}), std::vector<bool>{true});
    // The first slot is empty; the second one, "MSQBB", gives the root.
    EXPECT_EQ(state.Quote.Stock.OptionRoot, "MSQ");
    // Option symbols of one or two letters give what they have.
    EXPECT_EQ(Replay({"NONE"}), std::vector<bool>{true});
    EXPECT_EQ(state.Quote.Stock.OptionRoot, "AB");
}

TEST_F(ReplayTest, FirstSymbolOfAListReadsTheCacheFromItsStartAgain)
{
    WriteCache(RecordOf("AAA", 10) + RecordOf("BBB", 11));
    EXPECT_EQ(Replay({"AAA", "BBB"}), (std::vector<bool>{true, true}));
    // A resumed run at symbol 1 without a new pass start (the file is past AAA by now).
    state.Run.SymbolIndex = 1;
    state.Run.CurrentSymbol = "AAA";
    source.BeginSymbol();
    EXPECT_EQ(source.Step(), std::optional<std::int16_t>(1));
}

TEST_F(ReplayTest, CancelClosesTheCacheSoFurtherReadsFail)
{
    WriteCache(RecordOf("AAA", 10) + RecordOf("BBB", 11));
    ASSERT_TRUE(source.StartPass());
    source.Cancel();
    state.Run.SymbolIndex = 2;
    state.Run.CurrentSymbol = "BBB";
    source.BeginSymbol();
    EXPECT_EQ(source.Step(), std::optional<std::int16_t>(0));
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

TEST_F(QuoteFileReaderTest, SplitsAtCommasOutsideQuotesAndAtEveryKindOfLineEnd)
{
    EXPECT_EQ(ValuesOf("\"A,B\",1.5, -2 \r\n\"X\"\r3\n4"),
              (std::vector<std::string>{"A,B", "1.5", "-2", "X", "3", "4"}));
    EXPECT_EQ(ValuesOf("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(ValuesOf("").empty());
}

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
