// The per-option rules that the QVA computation, the verdict, the quote cache and the report share.

#include <gtest/gtest.h>

#include <limits>

#include "core/quotes/OptionWindow.h"

namespace {

constexpr float Absent = -1;
constexpr float Huge = std::numeric_limits<float>::max();

TEST(PriceUsed, FollowsTheDeriveQVAFromSetting)
{
    const struct {
        std::int16_t drvQVAfrom;
        float last, bid, ask;
        float expected;
    } rows[] = {
        {FromLast, 1.5f, 1.25f, 2.0f, 1.5f},
        {FromBid, 1.5f, 1.25f, 2.0f, 1.25f},
        {FromAsk, 1.5f, 1.25f, 2.0f, 2.0f},
        {FromMid, 1.5f, 1.25f, 2.0f, 1.625f},
        {7, 1.5f, 1.25f, 2.0f, 1.625f},  // any other choice is the mid price too
        {-1, 1.5f, 1.25f, 2.0f, 1.625f},
        {FromMid, 1.5f, Absent, 2.0f, 0.5f}, // an absent side takes part as -1
        {FromLast, Absent, 1.25f, 2.0f, Absent},
        {FromMid, 0, Huge, Huge, std::numeric_limits<float>::infinity()}, // left to the caller
    };
    for (const auto& row : rows) {
        OptionSeries series{};
        series.OptLast[Puts][2][1] = row.last;
        series.OptBid[Puts][2][1] = row.bid;
        series.OptAsk[Puts][2][1] = row.ask;
        EXPECT_EQ(PriceUsed(series, row.drvQVAfrom, Puts, 2, 1), row.expected)
            << "choice " << row.drvQVAfrom << ", bid " << row.bid << ", ask " << row.ask;
    }
}

TEST(IntrinsicValue, IsTheExerciseGainRaisedToZero)
{
    const struct {
        Side side;
        float stockPrice, strike;
        float gain, intrinsic;
    } rows[] = {
        {Calls, 45.375f, 40, 5.375f, 5.375f},
        {Calls, 45.375f, 50, -4.625f, 0},
        {Puts, 45.375f, 50, 4.625f, 4.625f},
        {Puts, 45.375f, 40, -5.375f, 0},
        {Calls, 45, 45, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ExerciseGain(row.side, row.stockPrice, row.strike), row.gain) << row.side << " " << row.strike;
        EXPECT_EQ(IntrinsicValue(row.side, row.stockPrice, row.strike), row.intrinsic)
            << row.side << " " << row.strike;
    }
}

TEST(OptionSymbolOf, BuildsRootMonthAndStrikeLettersWhereThePageGaveNone)
{
    QuoteData quote;
    quote.Stock.OptionRoot = "QRX";
    quote.Calendar.ExpiryMonthCode[Puts][1] = 'R';
    quote.Strikes.StrikeCode[2] = 'I';
    EXPECT_EQ(OptionSymbolOf(quote, Puts, 2, 1), "QRXRI");
    quote.Strikes.StrikeCode[2] = '\0'; // a letter the tables could not give is left out
    EXPECT_EQ(OptionSymbolOf(quote, Puts, 2, 1), "QRXR");
    quote.Series.OptSymbol[Puts][2][1] = "QRQRI";
    EXPECT_EQ(OptionSymbolOf(quote, Puts, 2, 1), "QRQRI");
}

} // namespace
