#include <gtest/gtest.h>

#include <cmath>

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

float SolvedVolatility(ModelInputs model, Side side, float price)
{
    SolveImpliedVolatility(model, side, price);
    return model.ModelVolatility;
}

} // namespace

// The normal distribution, the closed-form values, the floor at the intrinsic value and the
// solver's edges are rows of cases/tables/pricing.tsv.
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
