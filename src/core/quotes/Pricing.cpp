#include "core/quotes/Pricing.h"

#include <cmath>

#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/OptionWindow.h"

namespace {

// The model raises this rounded e to a power for every exponential, and takes square roots as a
// power of 0.5: the screener's published figures are defined by exactly this arithmetic.
constexpr float E = 2.7182818f;
constexpr float DaysPerYear = 365;

constexpr float ScanStep = 0.1f;
constexpr int ScanSteps = 32;
constexpr float Tolerance = 0.0005f;

float Exp(float exponent)
{
    return std::pow(E, exponent);
}

// The terms that do not depend on the volatility, each stored in single precision as the model is
// defined. The solver prices one option some 40 times: they are worked out once for all of them.
struct FixedTerms {
    float Years;
    float RootYears;
    float LogMoneyness;   // log(S / K)
    float StockDiscount;  // e^(-qT)
    float StrikeDiscount; // e^(-rT)
};

FixedTerms FixedTermsOf(const ModelInputs& model)
{
    const float years = static_cast<float>(model.ModelDaysToExpiry) / DaysPerYear;
    return {years, std::pow(years, 0.5f), std::log(model.ModelStockPrice / model.ModelStrike),
            Exp(-model.ModelDividendRate * years), Exp(-model.InterestRate * years)};
}

// The terms both sides share.
struct ModelTerms {
    float D1;
    float D2;
    float StockDiscount;
    float StrikeDiscount;
};

ModelTerms TermsOf(const ModelInputs& model, const FixedTerms& fixed)
{
    const float sigma = model.ModelVolatility;
    const float deviation = sigma * fixed.RootYears;
    const float drift = model.InterestRate - model.ModelDividendRate + sigma * sigma / 2;
    const float d1 = (fixed.LogMoneyness + drift * fixed.Years) / deviation;
    const float d2 = d1 - deviation;
    return {d1, d2, fixed.StockDiscount, fixed.StrikeDiscount};
}

float CallValueWith(const ModelInputs& model, const FixedTerms& fixed)
{
    const ModelTerms terms = TermsOf(model, fixed);
    return model.ModelStockPrice * terms.StockDiscount * NormalCdf(terms.D1) -
           model.ModelStrike * terms.StrikeDiscount * NormalCdf(terms.D2);
}

float PutValueWith(const ModelInputs& model, const FixedTerms& fixed)
{
    const ModelTerms terms = TermsOf(model, fixed);
    return model.ModelStrike * terms.StrikeDiscount * NormalCdf(-terms.D2) -
           model.ModelStockPrice * terms.StockDiscount * NormalCdf(-terms.D1);
}

float OptionValueWith(const ModelInputs& model, Side side, const FixedTerms& fixed)
{
    const float gain = ExerciseGain(side, model.ModelStockPrice, model.ModelStrike);
    const float value = side == Calls ? CallValueWith(model, fixed) : PutValueWith(model, fixed);
    return gain > value ? gain : value;
}

// Floating-point faults do not trap here: they yield an infinity or a NaN. An option value that
// is not finite is a fault of the symbol's data and ends its evaluation.
float Checked(float value)
{
    if (!std::isfinite(value)) throw ArithmeticFault("option value is not a finite number");
    return value;
}

// log(S / K) and the division by sigma * sqrt(T) need positive stock price, strike and days.
void RequireModelDomain(const ModelInputs& model)
{
    if (!(model.ModelStockPrice > 0) || !(model.ModelStrike > 0) || model.ModelDaysToExpiry < 1)
        throw ArithmeticFault("option model inputs out of range");
}

} // namespace

float NormalCdf(float x)
{
    const float k = 1 / (1 + 0.3327f * std::fabs(x));
    const float z = Exp(-x * x / 2) / 2.506628f;
    const float n = z * (0.4361836f * k - 0.1201676f * k * k + 0.937298f * k * k * k);
    return x > 0 ? 1 - n : n;
}

float CallValue(const ModelInputs& model) { return CallValueWith(model, FixedTermsOf(model)); }

float PutValue(const ModelInputs& model) { return PutValueWith(model, FixedTermsOf(model)); }

float OptionValue(const ModelInputs& model, Side side) { return OptionValueWith(model, side, FixedTermsOf(model)); }

void SolveImpliedVolatility(ModelInputs& model, Side side, float price)
{
    float& sigma = model.ModelVolatility;
    sigma = 0;
    if (price <= 0) return;
    RequireModelDomain(model);
    const FixedTerms fixed = FixedTermsOf(model);

    // Coarse scan upward; when even the last step cannot reach the price, sigma ends one past it.
    sigma = ScanStep;
    for (int step = 1; step <= ScanSteps && !(Checked(OptionValueWith(model, side, fixed)) > price); ++step)
        sigma += ScanStep;

    float hi = sigma;
    float lo = sigma - ScanStep;
    while (hi - lo > Tolerance) {
        sigma = (lo + hi) / 2;
        const float value = Checked(OptionValueWith(model, side, fixed));
        if (value > price) {
            hi = sigma;
        } else if (value < price) {
            lo = sigma;
        } else {
            break;
        }
    }
}
