#include <gtest/gtest.h>

#include "support/ExampleQuote.h"
#include "support/FileLines.h"
#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/report/ResultsBlock.h"

namespace {

class ResultsBlockTest : public ::testing::Test {
protected:
    ResultsBlockTest() { FillExample(state); }
    std::vector<std::string> BlockLines() const { return LinesOf(BuildResultsBlock(state)); }

    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
    SharedState state{clock};
};

} // namespace

TEST_F(ResultsBlockTest, MatchesTheReferenceBlockByteForByte)
{
    const auto expected = ReadWholeFile(QUILLON_TEST_DATA "/report/FullBlock.expected");
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(BuildResultsBlock(state), *expected); // a failure shows the lines that differ
}

TEST_F(ResultsBlockTest, EmptyOptionChainShowsNotAvailableEverywhere)
{
    ClearOptions(state.Quote);
    const auto lines = BlockLines();
    ASSERT_EQ(lines.size(), 58u);
    EXPECT_EQ(lines[11].substr(0, 44), "Call QVA..n/a         Put QVA...n/a         ");
    EXPECT_EQ(lines[11].substr(44), "QVAC - QVAP = n/a     ");
    EXPECT_EQ(lines[12].substr(44), "QVA Implied Trend = ?      ");
    EXPECT_EQ(lines[12].substr(0, 44), "Open Int..n/a         Open Int..n/a         ");
    // Calls, strike position 1 (40, in the money by 5.375), expiration rows A, B, C.
    EXPECT_EQ(lines[24], " 5.375 | n/a    n/a    n/a          | n/a    n/a    n/a          |");
    EXPECT_EQ(lines[25], " 40.0  | *0     n/a    n/a    n/a   | *0     n/a    n/a    n/a   |");
    EXPECT_EQ(lines[26], "   H   | QRXEH  n/a    n/a          | QRXFH  n/a    n/a          |");
    // Puts, strike position 3 (50): the put side's month letters.
    EXPECT_EQ(lines[48], "   J   | QRXQJ  n/a    n/a          | QRXRJ  n/a    n/a          |");
}

TEST_F(ResultsBlockTest, TrendFollowsTheSignOfTheDifference)
{
    const auto differenceAndTrend = [this](float calls, float puts) {
        state.Quote.QVA.QVAAverage = {calls, puts};
        const auto lines = BlockLines();
        return lines[11].substr(44) + "|" + lines[12].substr(64);
    };
    EXPECT_EQ(differenceAndTrend(0.3f, 0.3f), "QVAC - QVAP = 0.0%    |?      ");
    EXPECT_EQ(differenceAndTrend(0.35f, 0.3f), "QVAC - QVAP = 5.0%    |UP     ");
    EXPECT_EQ(differenceAndTrend(0.2f, 0.3f), "QVAC - QVAP = -10.0%  |DOWN   ");
    EXPECT_EQ(differenceAndTrend(0.0f, 0.25f), "QVAC - QVAP = -25.0%  |DOWN   ");
    EXPECT_EQ(differenceAndTrend(0.3f, -1.0f), "QVAC - QVAP = n/a     |?      ");
}

TEST_F(ResultsBlockTest, OutOfTheMoneyAndMidPriceRows)
{
    ClearOptions(state.Quote);
    // Call at strike 50 above the last sale: no intrinsic value, the time value is the price.
    SetOption(state.Quote, Calls, 3, 0, 0.5f, 0.4375f, 0.5625f, 7, 80, 0.25f, 1);
    // Missing bid with an ask of 2 under the mid price: (2 + -1) / 2.
    SetOption(state.Quote, Calls, 3, 1, 1.0f, -1.0f, 2.0f, 0, 0, -1.0f, -1);
    const auto lines = BlockLines();
    EXPECT_EQ(lines[32], " 0.0   | 0.5    0.438  0.563        | 1.0    n/a    2.0          |");
    EXPECT_EQ(lines[33], " 50.0  | *1     0.5    80     0.5   | *0     0.5    0      0.5   |");
    EXPECT_EQ(lines[34], "   J   | QRXEJ  25.0%  7            | QRXFJ  n/a    0            |");

    state.Settings.DrvQVAfrom = 1;
    EXPECT_EQ(BlockLines()[33],
              " 50.0  | *1     0.438  80     0.438 | *0     n/a    0      n/a   |");
}

TEST_F(ResultsBlockTest, NegativeTimeValueShowsDashes)
{
    // A put at 50 worth 4.625 intrinsically, quoted at 4.5: priced below its intrinsic value.
    state.Settings.DrvQVAfrom = 0;
    SetOption(state.Quote, Puts, 3, 0, 4.5f, 4.25f, 4.75f, 15, 600, -1.0f, 0);
    EXPECT_EQ(BlockLines()[47], " 50.0  | *0     4.5    600    ----- | *0     n/a    n/a    n/a   |");
}

TEST_F(ResultsBlockTest, StockBlockEdgeValues)
{
    StockQuote& stock = state.Quote.Stock;
    stock.BidPrice = 0.0f;
    stock.AskPrice = 0.01f;
    stock.CompanyName = std::string(36, 'N');
    stock.LastSale = 2.0f;
    stock.SharesOutstanding = 617283800.3;
    const auto lines = BlockLines();
    EXPECT_EQ(lines[3], "Last......$2          Bid.......n/a         Ask.......$0.01       ");
    EXPECT_EQ(lines[1], std::string(36, 'N') + "        Mkt Cap...$1,234,567,601");

    stock.CompanyName = std::string(50, 'W');
    EXPECT_EQ(BlockLines()[1].substr(40), "WWWWMkt Cap...$1,234,567,601");
}

TEST_F(ResultsBlockTest, OverlongTextsAreCutAtTheirFields)
{
    state.Quote.Stock.OptionRoot = "ABCDEFGH";
    state.Quote.Stock.Exchange = "A VERY LONG EXCHANGE NAME";
    const auto lines = BlockLines();
    EXPECT_EQ(lines[2].substr(44), "Exchange..A VERY LONG ");
    EXPECT_EQ(lines[22].substr(0, 8), "  ABCDE|");
}
