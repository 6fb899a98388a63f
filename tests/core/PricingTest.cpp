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

// The normal distribution and the closed-form values are rows of cases/tables/pricing.tsv.
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
