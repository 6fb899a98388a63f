#include <gtest/gtest.h>

#include <cmath>

#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/Pricing.h"

namespace {

ModelInputs Model(float stock, float strike, float rate, float dividend, float sigma, int days)
{
    ModelInputs model;
    model.ModelStockPrice = stock;
    model.ModelStrike = strike;
    model.InterestRate = rate;
    model.ModelDividendRate = dividend;
    model.ModelVolatility = sigma;
    model.ModelDaysToExpiry = static_cast<std::int16_t>(days);
    return model;
}

ModelInputs AtTheMoney()
{
    return Model(50, 50, 0.05f, 0, 0.3f, 30);
}

float SolvedVolatility(ModelInputs model, Side side, float price)
{
    SolveImpliedVolatility(model, side, price);
    return model.ModelVolatility;
}

} // namespace

TEST(NormalCdf, MatchesTheNormalDistribution)
{
    // Reference: 0.5 * (1 + erf(x / sqrt 2)) in double precision. The approximation's own error
    // is below 1e-5; the rounded constant 0.3327 and single precision add a little.
    struct Row {
        float X;
        double Expected;
    };
    const Row rows[] = {{0, 0.5},          {0.5f, 0.6914625},  {1, 0.8413447},
                        {-1, 0.1586553},   {1.96f, 0.9750021}, {-2.5f, 0.0062097},
                        {3, 0.9986501},    {5, 0.9999997},     {-5, 0.0000003}};
    for (const Row& row : rows) EXPECT_NEAR(NormalCdf(row.X), row.Expected, 3e-5) << row.X;
}

TEST(NormalCdf, IsSymmetricAndBoundedFarOut)
{
    for (float x : {0.1f, 0.7f, 1.3f, 2.2f, 4.0f}) EXPECT_NEAR(NormalCdf(x) + NormalCdf(-x), 1.0f, 1e-6f) << x;
    for (float x : {40.0f, INFINITY}) {
        EXPECT_EQ(NormalCdf(x), 1.0f);
        EXPECT_EQ(NormalCdf(-x), 0.0f);
    }
}

TEST(OptionModel, MatchesClosedFormValues)
{
    // Reference: the closed form with the exact normal CDF and exp/sqrt in double precision.
    struct Row {
        ModelInputs Inputs;
        double Call;
        double Put;
    };
    const Row rows[] = {
        {AtTheMoney(), 1.81603, 1.61098},
        {Model(50, 45, 0.05f, 0.02f, 0.25f, 58), 5.51656, 0.31910},
        {Model(100, 110, 0.03f, 0.01f, 0.4f, 90), 4.38460, 13.82018},
        {Model(20, 22.5f, 0.06f, 0, 0.6f, 10), 0.12559, 2.58864},
        {Model(8, 7.5f, 0.04f, 0.03f, 1.2f, 200), 2.88210, 2.34994},
        {Model(250, 200, 0.05f, 0, 0.2f, 365), 61.47209, 1.71797},
    };
    for (const Row& row : rows) {
        const float tolerance = 4e-5f * row.Inputs.ModelStockPrice + 2e-4f;
        EXPECT_NEAR(CallValue(row.Inputs), row.Call, tolerance) << row.Inputs.ModelStrike;
        EXPECT_NEAR(PutValue(row.Inputs), row.Put, tolerance) << row.Inputs.ModelStrike;
    }
}

TEST(OptionModel, OptionValueChoosesTheSideAndNeverFallsBelowIntrinsic)
{
    // A high dividend yield pulls the European call of a deep in-the-money stock below S - K,
    // a high interest rate the deep in-the-money put.
    const ModelInputs deepCall = Model(60, 40, 0.05f, 0.2f, 0.2f, 365);
    const ModelInputs deepPut = Model(40, 60, 0.2f, 0, 0.2f, 365);
    ASSERT_LT(CallValue(deepCall), 20);
    ASSERT_LT(PutValue(deepPut), 20);
    EXPECT_EQ(OptionValue(deepCall, Calls), 20);
    EXPECT_EQ(OptionValue(deepPut, Puts), 20);
    for (float sigma : {0.01f, 0.1f, 0.5f, 2.0f}) {
        EXPECT_GE(OptionValue(Model(60, 40, 0.05f, 0, sigma, 30), Calls), 20) << sigma;
        EXPECT_GE(OptionValue(Model(40, 60, 0.05f, 0, sigma, 30), Puts), 20) << sigma;
    }
}

TEST(SolveImpliedVolatility, RecoversTheVolatilityThatPricedTheOption)
{
    // Prices made by the model itself at a known sigma must solve back to it within the
    // bisection's stopping width. Rows stay where the value moves with sigma (not floored at
    // the intrinsic value).
    int solved = 0;
    for (const Side side : {Calls, Puts})
        for (float strike : {40.0f, 45.0f, 50.0f, 55.0f, 60.0f})
            for (int days : {9, 30, 58, 180})
                for (float sigma : {0.12f, 0.25f, 0.6f, 1.5f, 2.9f, 3.25f}) {
                    ModelInputs model = Model(50, strike, 0.05f, 0.01f, sigma, days);
                    const float price = OptionValue(model, side);
                    model.ModelVolatility = sigma * 0.97f;
                    if (!(OptionValue(model, side) < price - 0.002f)) continue;
                    EXPECT_NEAR(SolvedVolatility(model, side, price), sigma, 0.0005f)
                        << "side " << side << " strike " << strike << " days " << days;
                    ++solved;
                }
    EXPECT_GT(solved, 180);
}

TEST(SolveImpliedVolatility, PriceZeroOrBelowIsZeroWithoutEvaluating)
{
    // A stock price of 0 would make any evaluation fault, so a fault here means the model ran.
    const ModelInputs unusable = Model(0, 50, 0.05f, 0, 0.7f, 30);
    EXPECT_EQ(SolvedVolatility(unusable, Calls, 0), 0);
    EXPECT_EQ(SolvedVolatility(unusable, Puts, -1), 0);
}

TEST(SolveImpliedVolatility, UnreachableAndIntrinsicPrices)
{
    // A call can never be worth the stock itself: the scan runs through 3.2 and ends at 3.3.
    const float tooHigh = SolvedVolatility(AtTheMoney(), Calls, 50);
    EXPECT_GT(tooHigh, 3.2f);
    EXPECT_LE(tooHigh, 3.3001f);
    // At the intrinsic value of a deep in-the-money call only a sigma near 0 fits.
    EXPECT_LT(SolvedVolatility(Model(60, 40, 0.05f, 0, 0, 30), Calls, 20), 0.001f);
    // Below the first scan step the bisection still narrows in on the answer.
    ModelInputs low = AtTheMoney();
    low.ModelVolatility = 0.05f;
    const float lowPrice = OptionValue(low, Calls);
    EXPECT_NEAR(SolvedVolatility(AtTheMoney(), Calls, lowPrice), 0.05f, 0.0005f);
}

TEST(SolveImpliedVolatility, InputsTheModelCannotTakeAreArithmeticFaults)
{
    EXPECT_THROW(SolvedVolatility(Model(0, 50, 0.05f, 0, 0, 30), Calls, 1), ArithmeticFault);
    EXPECT_THROW(SolvedVolatility(Model(50, 0, 0.05f, 0, 0, 30), Calls, 1), ArithmeticFault);
    EXPECT_THROW(SolvedVolatility(Model(50, 50, 0.05f, 0, 0, 0), Puts, 1), ArithmeticFault);
    // e^(-qT) overflows single precision.
    EXPECT_THROW(SolvedVolatility(Model(50, 50, 0.05f, -200, 0, 365), Calls, 1), ArithmeticFault);
}
