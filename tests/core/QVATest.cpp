#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/ExampleQuote.h"
#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/QVA.h"

namespace {

// A $50 stock on 1 February 2026: expirations 21 February (20 days) and 21 March (48 days),
// strikes 40 45 50 55 60 (letters H I J K L), every option value absent.
class QVATest : public ::testing::Test {
protected:
    QVATest()
    {
        quote.Stock.LastSale = 50;
        quote.Stock.YieldPercent = 1;
        quote.Stock.OptionRoot = "XYZ";
        quote.Calendar = BuildExpirationCalendar({2026, 2, 1, 12, 0, 0});
        quote.Strikes = SelectStrikes(50);
        ClearOptions(quote);
        settings.InterestRate = 0.05f;
    }

    float PriceAt(int side, int strike, int expiration, float sigma) const
    {
        return ModelPrice(quote, settings.InterestRate, side, strike, expiration, sigma);
    }

    void SetRow(int side, int strike, int expiration, float last, float bid, float ask,
                float volume, float openInterest)
    {
        ::SetOption(quote, side, strike, expiration, last, bid, ask, volume, openInterest, -1, 0);
    }

    // An option whose last, bid and ask all sit at the model price for `sigma`.
    void SetOption(int side, int strike, int expiration, float sigma, float volume,
                   float openInterest)
    {
        const float price = PriceAt(side, strike, expiration, sigma);
        SetRow(side, strike, expiration, price, price, price, volume, openInterest);
    }

    float QVA(int side, int strike, int expiration) const
    {
        return quote.Series.OptQVA[side][strike][expiration];
    }

    int Note(int side, int strike, int expiration) const
    {
        return static_cast<int>(quote.Series.OptNote[side][strike][expiration]);
    }

    QuoteData quote;
    UserSettings settings;
};

} // namespace

TEST_F(QVATest, WithoutOptionDataEverythingIsAbsentButSymbolsAreBuilt)
{
    quote.Series.OptSymbol[Puts][2][0] = "XYZ MN";
    ComputeQVA(quote, settings);
    for (int side : {Calls, Puts}) {
        EXPECT_EQ(quote.QVA.QVAAverage[side], -1);
        EXPECT_EQ(quote.QVA.WeightVolume[side], 0);
        EXPECT_EQ(quote.QVA.WeightOpenInterest[side], 0);
        for (int strike = 1; strike <= 3; ++strike)
            for (int expiration = 0; expiration < 2; ++expiration) {
                EXPECT_EQ(QVA(side, strike, expiration), -1);
                EXPECT_EQ(Note(side, strike, expiration), 0);
            }
    }
    EXPECT_EQ(quote.Series.OptSymbol[Calls][1][0], "XYZBI"); // February call, strike 45
    EXPECT_EQ(quote.Series.OptSymbol[Calls][3][1], "XYZCK"); // March call, strike 55
    EXPECT_EQ(quote.Series.OptSymbol[Puts][1][1], "XYZOI");  // March put, strike 45
    EXPECT_EQ(quote.Series.OptSymbol[Puts][2][0], "XYZ MN"); // a symbol from the page stays
}

TEST_F(QVATest, VolumeWeightedAverageOfTwoCalls)
{
    // Sigmas 0.20 with volume 300 and 0.30 with volume 100 average to 0.225.
    SetOption(Calls, 2, 0, 0.20f, 300, 1000);
    SetOption(Calls, 3, 1, 0.30f, 100, 50);
    ComputeQVA(quote, settings);
    EXPECT_NEAR(QVA(Calls, 2, 0), 0.20f, 0.0005f);
    EXPECT_NEAR(QVA(Calls, 3, 1), 0.30f, 0.0005f);
    EXPECT_EQ(Note(Calls, 2, 0), 1);
    EXPECT_EQ(Note(Calls, 3, 1), 1);
    EXPECT_NEAR(quote.QVA.QVAAverage[Calls], 0.225f, 0.0005f);
    EXPECT_EQ(quote.QVA.WeightVolume[Calls], 400);
    EXPECT_EQ(quote.QVA.WeightOpenInterest[Calls], 1050);
    EXPECT_EQ(quote.QVA.QVAAverage[Puts], -1);
}

TEST_F(QVATest, OpenInterestWeighting)
{
    SetOption(Puts, 1, 0, 0.20f, 300, 100);
    SetOption(Puts, 2, 1, 0.40f, 100, 300);
    for (std::int16_t choice : {1, 5}) { // any non-zero choice weights by open interest
        settings.AvgQVAusing = choice;
        ComputeQVA(quote, settings);
        EXPECT_NEAR(quote.QVA.QVAAverage[Puts], 0.35f, 0.0005f) << choice;
        EXPECT_EQ(quote.QVA.WeightOpenInterest[Puts], 400);
    }
}

TEST_F(QVATest, IncludedOptionWithoutOpenInterestLeavesNoAverage)
{
    settings.AvgQVAusing = 1;
    SetOption(Calls, 2, 0, 0.25f, 500, 0);
    ComputeQVA(quote, settings);
    EXPECT_EQ(Note(Calls, 2, 0), 1);
    EXPECT_EQ(quote.QVA.WeightVolume[Calls], 500);
    EXPECT_EQ(quote.QVA.QVAAverage[Calls], -1);

    // A total weight below 1 is no weight either.
    SetOption(Calls, 2, 0, 0.25f, 500, 0.5f);
    ComputeQVA(quote, settings);
    EXPECT_EQ(quote.QVA.WeightOpenInterest[Calls], 0.5f);
    EXPECT_EQ(quote.QVA.QVAAverage[Calls], -1);
}

TEST_F(QVATest, PriceComesFromTheChosenQuote)
{
    const float last = PriceAt(Calls, 2, 1, 0.25f);
    const float bid = PriceAt(Calls, 2, 1, 0.20f);
    const float ask = PriceAt(Calls, 2, 1, 0.40f);
    SetRow(Calls, 2, 1, last, bid, ask, 10, 10);
    struct Row {
        std::int16_t DrvQVAfrom;
        float Sigma;
        float Tolerance;
    };
    // The mid price of an at-the-money option lies close to the value at the mid volatility.
    const Row rows[] = {{0, 0.25f, 0.0005f}, {1, 0.20f, 0.0005f}, {2, 0.40f, 0.0005f},
                        {3, 0.30f, 0.003f},  {7, 0.30f, 0.003f}};
    for (const Row& row : rows) {
        settings.DrvQVAfrom = row.DrvQVAfrom;
        ComputeQVA(quote, settings);
        EXPECT_NEAR(QVA(Calls, 2, 1), row.Sigma, row.Tolerance) << row.DrvQVAfrom;
    }
}

TEST_F(QVATest, RowsWithAbsentOrInconsistentFiguresAreNotValid)
{
    const float price = PriceAt(Calls, 2, 0, 0.3f);
    struct Row {
        float Last, Bid, Ask, Volume, OpenInterest;
        const char* Why;
    };
    const Row rows[] = {
        {price, price, price - 0.01f, 10, 10, "ask below bid"},
        {-1, price, price, 10, 10, "no last"},
        {price, -1, price, 10, 10, "no bid"},
        {price, price, -1, 10, 10, "no ask"},
        {price, price, price, -1, 10, "no volume"},
        {price, price, price, 10, -1, "no open interest"},
        {price, price, price, NAN, 10, "not a number"},
    };
    for (const Row& row : rows) {
        SetRow(Calls, 2, 0, row.Last, row.Bid, row.Ask, row.Volume, row.OpenInterest);
        ComputeQVA(quote, settings);
        EXPECT_EQ(QVA(Calls, 2, 0), -1) << row.Why;
        EXPECT_EQ(Note(Calls, 2, 0), 0) << row.Why;
        EXPECT_EQ(quote.QVA.QVAAverage[Calls], -1) << row.Why;
    }
}

TEST_F(QVATest, OnlyVolatilitiesFrom1To300PercentAreAccepted)
{
    SetOption(Calls, 2, 0, 2.95f, 10, 10);
    SetOption(Calls, 2, 1, 3.05f, 10, 10);
    // Priced below its intrinsic value of 5, the 45 call solves to a sigma near 0.
    SetRow(Calls, 1, 0, 4.9f, 4.9f, 4.9f, 10, 10);
    ComputeQVA(quote, settings);
    EXPECT_NEAR(QVA(Calls, 2, 0), 2.95f, 0.0005f);
    EXPECT_EQ(Note(Calls, 2, 0), 1);
    EXPECT_EQ(QVA(Calls, 2, 1), -1);
    EXPECT_EQ(Note(Calls, 2, 1), 0);
    EXPECT_EQ(QVA(Calls, 1, 0), -1);
    EXPECT_EQ(Note(Calls, 1, 0), 0);
    EXPECT_EQ(quote.QVA.WeightVolume[Calls], 10);
}

TEST_F(QVATest, OptionScreenRules)
{
    // Each row sets one criterion and one option; the 45 call is 5 in the money, the 45 put out.
    struct Row {
        Criterion UserSettings::*Field;
        Criterion Value;
        int Side;
        float Volume;
        float OpenInterest;
        int ExpectedNote;
        const char* Why;
    };
    const float callTimeValue = PriceAt(Calls, 1, 0, 0.3f) - 5;
    const float putTimeValue = PriceAt(Puts, 1, 0, 0.3f); // out of the money: all time value
    const Row rows[] = {
        {&UserSettings::MinOptVol, Criterion::Number(100), Calls, 99, 10, 0, "volume below minimum"},
        {&UserSettings::MinOptVol, Criterion::Number(100), Calls, 100, 10, 1, "volume at minimum"},
        {&UserSettings::MinOptVol, Criterion::Number(0), Calls, 0, 10, 1, "minimum 0 excludes nothing"},
        {&UserSettings::MinOptVol, Criterion::Text("NA"), Calls, 0, 10, 1, "NA is switched off"},
        {&UserSettings::MinOptInt, Criterion::Text("100"), Calls, 10, 99, 0, "text '100' is 100"},
        {&UserSettings::MinOptInt, Criterion::Text("100"), Calls, 10, 100, 1, "text '100' is 100"},
        {&UserSettings::MinOptPctVol, Criterion::Number(100), Calls, 50, 0, 1, "no open interest: 100 %"},
        {&UserSettings::MinOptPctVol, Criterion::Number(100.5), Calls, 50, 0, 0, "no open interest: 100 %"},
        {&UserSettings::MinOptPctVol, Criterion::Number(0), Calls, 0, 10, 1, "no volume: 0 %"},
        {&UserSettings::MinOptPctVol, Criterion::Number(0.01), Calls, 0, 0, 0, "no volume: 0 %"},
        {&UserSettings::MinOptPctVol, Criterion::Number(25), Calls, 25, 100, 1, "25 %"},
        {&UserSettings::MinOptPctVol, Criterion::Number(25.01), Calls, 25, 100, 0, "25 %"},
        {&UserSettings::MaxIntVal, Criterion::Number(5), Calls, 10, 10, 1, "intrinsic 5 at the maximum"},
        {&UserSettings::MaxIntVal, Criterion::Number(4.99), Calls, 10, 10, 0, "intrinsic 5 above"},
        {&UserSettings::MaxIntVal, Criterion::Number(0), Puts, 10, 10, 1, "out of the money: intrinsic 0"},
        {&UserSettings::MinTimeVal, Criterion::Number(callTimeValue), Calls, 10, 10, 1, "time value at min"},
        {&UserSettings::MinTimeVal, Criterion::Number(callTimeValue + 0.01), Calls, 10, 10, 0, "below"},
        {&UserSettings::MinTimeVal, Criterion::Number(putTimeValue), Puts, 10, 10, 1, "put time value"},
        {&UserSettings::MinTimeVal, Criterion::Number(putTimeValue + 0.01), Puts, 10, 10, 0, "put below"},
    };
    for (const Row& row : rows) {
        UserSettings screened = settings;
        screened.*row.Field = row.Value;
        SetOption(row.Side, 1, 0, 0.3f, row.Volume, row.OpenInterest);
        ComputeQVA(quote, screened);
        EXPECT_EQ(Note(row.Side, 1, 0), row.ExpectedNote) << row.Why;
        // A dropped option keeps its volatility but adds nothing to the side's sums.
        EXPECT_NEAR(QVA(row.Side, 1, 0), 0.3f, 0.0005f) << row.Why;
        EXPECT_EQ(quote.QVA.WeightOpenInterest[row.Side],
                  row.ExpectedNote == 0 ? 0 : row.OpenInterest) << row.Why;
        SetRow(row.Side, 1, 0, -1, -1, -1, -1, -1);
    }
}

TEST_F(QVATest, NoteTwoMarksVolatilitiesReachingTheSidesMinimum)
{
    SetOption(Calls, 2, 0, 0.30f, 10, 10);
    SetOption(Puts, 2, 0, 0.30f, 10, 10);
    ComputeQVA(quote, settings);
    // The boundary is the solved sigma in percent: at it note 2, just above it note 1 (as with
    // Min QVA 30 and sigmas 0.30 and 0.2999).
    const double callPercent = QVA(Calls, 2, 0) * 100.0f;
    settings.MinQVAC = Criterion::Number(callPercent);
    ComputeQVA(quote, settings);
    EXPECT_EQ(Note(Calls, 2, 0), 2);
    EXPECT_EQ(Note(Puts, 2, 0), 1); // the calls' minimum does not apply to puts

    settings.MinQVAC = Criterion::Number(std::nextafter(callPercent, 100.0));
    settings.MinQVAP = Criterion::Text("29.5");
    ComputeQVA(quote, settings);
    EXPECT_EQ(Note(Calls, 2, 0), 1);
    EXPECT_EQ(Note(Puts, 2, 0), 2);

    // An option the screen drops never gets note 2.
    settings.MinOptVol = Criterion::Number(11);
    ComputeQVA(quote, settings);
    EXPECT_EQ(Note(Puts, 2, 0), 0);
}

TEST_F(QVATest, ArithmeticThatLeavesTheFiniteNumbersIsAFault)
{
    // Without a valid row nothing is solved, so even a stock at 0 is harmless.
    quote.Stock.LastSale = 0;
    EXPECT_NO_THROW(ComputeQVA(quote, settings));
    quote.Stock.LastSale = 50;

    SetOption(Calls, 2, 0, 0.3f, std::numeric_limits<float>::infinity(), 10);
    EXPECT_THROW(ComputeQVA(quote, settings), ArithmeticFault);

    SetOption(Calls, 2, 0, 0.3f, 3e38f, 10);
    SetOption(Calls, 2, 1, 0.3f, 3e38f, 10);
    EXPECT_THROW(ComputeQVA(quote, settings), ArithmeticFault) << "weighted sum overflows";

    SetOption(Calls, 2, 1, 0.3f, 10, 10);
    SetOption(Calls, 2, 0, 0.3f, 10, 10);
    quote.Stock.LastSale = 0;
    EXPECT_THROW(ComputeQVA(quote, settings), ArithmeticFault) << "no model for a stock at 0";
}
