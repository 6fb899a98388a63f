#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/SharedState.h"
#include "app/TextFile.h"
#include "quotes/OptionCalendar.h"
#include "quotes/QuoteCache.h"
#include "tracing/QuoteFileReader.h"
#include "tracing/ReadQuoteRecord.h"
#include "tracing/ReplaySource.h"
#include "FakeRunHost.h"
#include "TemporaryDirectory.h"

namespace {

const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

StockQuote StockOf(float lastSale, const std::string& name)
{
    StockQuote stock;
    stock.CompanyName = name;
    stock.LastTick = "UP";
    stock.Exchange = "NYSE";
    stock.TimeOfLastSale = "15:59";
    stock.SizeBidAsk = "5X7";
    stock.ExDividendDate = "01/02/26";
    stock.LastSale = lastSale;
    stock.NetChange = -0.25f;
    stock.PercentChange = -1.5f;
    stock.BidPrice = lastSale - 0.125f;
    stock.AskPrice = lastSale + 0.125f;
    stock.High52Week = lastSale * 2;
    stock.Low52Week = lastSale / 2;
    stock.Volatility = 1.25f;
    stock.EarningsPerShare = 2;
    stock.PriceEarnings = lastSale / 2;
    stock.Volume = 1234567;
    stock.SharesOutstanding = 987654000;
    return stock;
}

// An option series whose slots carry the given root; slot values tell the slots apart.
OptionSeries SeriesOf(const std::string& root, bool firstSlotEmpty = false)
{
    OptionSeries series;
    for (int side : {Calls, Puts})
        for (int strike = 0; strike < StrikeCount; ++strike)
            for (int expiration = 0; expiration < SeriesExpirations; ++expiration) {
                const float tag = static_cast<float>(side * 100 + strike * 10 + expiration);
                series.OptSymbol[side][strike][expiration] =
                    root + static_cast<char>('A' + expiration) + static_cast<char>('A' + strike);
                for (auto column : OptionRowValues) (series.*column)[side][strike][expiration] = tag;
            }
    if (firstSlotEmpty) series.OptSymbol[Calls][FirstCachedStrike][0].clear();
    return series;
}

std::string RecordOf(const std::string& symbol, float lastSale, const OptionSeries* series)
{
    return StockRecordText(symbol, StockOf(lastSale, symbol + " CORP")) + OptionBlockText(series);
}

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

TEST_F(ReplayTest, ReadsBackWhatTheCacheWriterWrote)
{
    const OptionSeries series = SeriesOf("IBM");
    WriteCache(RecordOf("IBM", 112.375f, &series));
    ASSERT_EQ(Replay({"IBM"}), std::vector<bool>{true});

    const StockQuote expected = StockOf(112.375f, "IBM CORP");
    const StockQuote& stock = state.Quote.Stock;
    EXPECT_EQ(stock.CompanyName, expected.CompanyName);
    EXPECT_EQ(stock.ExDividendDate, expected.ExDividendDate);
    EXPECT_EQ(stock.SpareText, "");
    EXPECT_EQ(stock.LastSale, expected.LastSale);
    EXPECT_EQ(stock.NetChange, expected.NetChange);
    EXPECT_EQ(stock.High52Week, expected.High52Week);
    EXPECT_EQ(stock.Low52Week, expected.Low52Week);
    EXPECT_EQ(stock.YieldPercent, expected.YieldPercent);
    EXPECT_EQ(stock.Volume, expected.Volume);
    EXPECT_EQ(stock.SharesOutstanding, expected.SharesOutstanding);
    EXPECT_EQ(stock.OptionRoot, "IBM");

    // The strikes follow the replayed last sale, and the calendar follows the clock.
    EXPECT_EQ(state.Quote.Strikes.StrikePrice, SelectStrikes(112.375f).StrikePrice);
    EXPECT_EQ(state.Quote.Calendar.ExpiryDay, BuildExpirationCalendar(Now).ExpiryDay);

    const OptionSeries& read = state.Quote.Series;
    for (int side : {Calls, Puts})
        for (int strike = 0; strike < StrikeCount; ++strike)
            for (int expiration = 0; expiration < SeriesExpirations; ++expiration) {
                const bool cached = strike >= FirstCachedStrike && strike <= LastCachedStrike &&
                                    expiration < CachedExpirations;
                SCOPED_TRACE(testing::Message() << side << strike << expiration);
                EXPECT_EQ(read.OptSymbol[side][strike][expiration],
                          cached ? series.OptSymbol[side][strike][expiration] : "");
                for (auto column : OptionRowValues)
                    EXPECT_EQ((read.*column)[side][strike][expiration],
                              cached ? (series.*column)[side][strike][expiration] : -1.0f);
            }
    EXPECT_EQ(host.LastStatus1(), "Reading quotes of IBM");
}

TEST_F(ReplayTest, SymbolsWithoutRecordOrWithOptionsNoAreBadAndLaterRecordsStillFound)
{
    const OptionSeries series = SeriesOf("XX");
    WriteCache(RecordOf("AAA", 10, &series) + RecordOf("CCC", 20, nullptr) +
               RecordOf("DDD", 30, &series) + RecordOf("ZZZ", 40, &series));
    // BBB sorts between two records; CCC's block says NO; DDD follows the NO block; ZZZ is
    // skipped over by nothing and found last; ZZZZ lies after the end of the file.
    EXPECT_EQ(Replay({"AAA", "BBB", "CCC", "DDD", "EEE", "ZZZ", "ZZZZ"}),
              (std::vector<bool>{true, false, false, true, false, true, false}));
}

TEST_F(ReplayTest, RecordBehindALaterSymbolsRecordIsNeverFound)
{
    const OptionSeries series = SeriesOf("XX");
    WriteCache(RecordOf("AAA", 10, &series) + RecordOf("CCC", 12, &series) +
               RecordOf("BBB", 11, &series));
    EXPECT_EQ(Replay({"AAA", "BBB", "CCC"}), (std::vector<bool>{true, false, true}));
}

TEST_F(ReplayTest, TruncatedLastRecordIsMissingAndEverySymbolAfterItToo)
{
    const OptionSeries series = SeriesOf("XX");
    const std::string last = RecordOf("CCC", 12, &series);
    WriteCache(RecordOf("AAA", 10, &series) + last.substr(0, last.size() - 40));
    EXPECT_EQ(Replay({"AAA", "CCC", "DDD"}), (std::vector<bool>{true, false, false}));
    // What was read before the end stays in the record.
    EXPECT_EQ(Replay({"AAA", "CCC"}), (std::vector<bool>{true, false}));
    EXPECT_EQ(state.Quote.Stock.LastSale, 12.0f);
    EXPECT_EQ(state.Quote.Series.OptSymbol[Calls][FirstCachedStrike][0], "XXAB");
}

TEST_F(ReplayTest, ValueThatShouldBeANumberEndsTheReadButKeepsWhatCameBefore)
{
    const OptionSeries series = SeriesOf("XX");
    std::string record = RecordOf("AAA", 10, &series);
    const std::string volume = "\r\n1234567\r\n";
    record.replace(record.find(volume), volume.size(), "\r\n12x34\r\n");
    WriteCache(record + RecordOf("BBB", 11, &series));
    EXPECT_EQ(Replay({"AAA"}), std::vector<bool>{false});
    EXPECT_EQ(state.Quote.Stock.LastSale, 10.0f);
    EXPECT_EQ(state.Quote.Stock.YieldPercent, 0.0f);
    EXPECT_EQ(state.Quote.Stock.Volume, 0);

    // A value beyond single precision is as damaged.
    std::string huge = RecordOf("AAA", 10, &series);
    huge.replace(huge.find("\r\n10\r\n"), 6, "\r\n1E+40\r\n");
    WriteCache(huge);
    EXPECT_EQ(Replay({"AAA"}), std::vector<bool>{false});
}

TEST_F(ReplayTest, ShortSymbolIsItsOwnRootLongerOneTakesItFromTheFirstOptionSymbol)
{
    const OptionSeries ibm = SeriesOf("IBM");
    const OptionSeries msft = SeriesOf("MSQ", /*firstSlotEmpty*/ true);
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

TEST_F(ReplayTest, EmptyCacheMakesEverySymbolBad)
{
    WriteCache("");
    EXPECT_EQ(Replay({"AAA", "BBB"}), (std::vector<bool>{false, false}));
}

TEST_F(ReplayTest, FirstSymbolOfAListReadsTheCacheFromItsStartAgain)
{
    const OptionSeries series = SeriesOf("XX");
    WriteCache(RecordOf("AAA", 10, &series) + RecordOf("BBB", 11, &series));
    EXPECT_EQ(Replay({"AAA", "BBB"}), (std::vector<bool>{true, true}));
    // A resumed run at symbol 1 without a new pass start (the file is past AAA by now).
    state.Run.SymbolIndex = 1;
    state.Run.CurrentSymbol = "AAA";
    source.BeginSymbol();
    EXPECT_EQ(source.Step(), std::optional<std::int16_t>(1));
}

TEST_F(ReplayTest, MissingCacheStopsThePassWithAMessage)
{
    EXPECT_FALSE(source.StartPass());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Cannot open " + state.Paths.FnQuote + " for input.");
}

TEST_F(ReplayTest, CancelClosesTheCacheSoFurtherReadsFail)
{
    const OptionSeries series = SeriesOf("XX");
    WriteCache(RecordOf("AAA", 10, &series) + RecordOf("BBB", 11, &series));
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
    for (std::size_t cut : {65535u, 65536u, 65534u}) {
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

TEST_F(QuoteFileReaderTest, AValueOverTheLimitIsPassedOverAndTheNextOneReads)
{
    const std::string path = directory.File("Quote.txt");
    ASSERT_TRUE(ReplaceFile(path, "\"" + std::string(LongestQuoteValue + 1, 'x') + "\",7\r\n8"));
    QuoteFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_FALSE(reader.ReadValue().has_value());
    EXPECT_EQ(reader.ReadValue().value_or(RecordValue{}).Text, "7");
    EXPECT_EQ(reader.ReadValue().value_or(RecordValue{}).Text, "8");
    EXPECT_FALSE(reader.ReadValue().has_value());
}

} // namespace
