#include "core/quotes/QVA.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/Pricing.h"

namespace {

// The solver's answers outside this range are artefacts (a price at or below intrinsic value, or
// one no volatility reaches), not volatilities worth averaging.
constexpr float MinAcceptedVolatility = 0.01f;
constexpr float MaxAcceptedVolatility = 3.0f;

// One option's page figures; -1 marks a figure the page did not give.
struct OptionRow {
    float Last;
    float Bid;
    float Ask;
    float Volume;
    float OpenInterest;
};

// The option-level criteria in force (nothing where a criterion is switched off).
struct OptionCriteria {
    std::optional<double> MinOptVol, MinOptInt, MinOptPctVol, MinTimeVal, MaxIntVal;
    std::optional<double> MinQVAC, MinQVAP;
};

// Floating-point faults do not trap here; a result that is not finite ends the symbol's evaluation.
float Finite(float value)
{
    if (!std::isfinite(value)) throw ArithmeticFault("QVA arithmetic left the finite numbers");
    return value;
}

OptionRow RowOf(const OptionSeries& series, int side, int strike, int expiration)
{
    return {series.OptLast[side][strike][expiration], series.OptBid[side][strike][expiration],
            series.OptAsk[side][strike][expiration], series.OptVolume[side][strike][expiration],
            series.OptOpenInterest[side][strike][expiration]};
}

bool IsValid(const OptionRow& row)
{
    return row.Last >= 0 && row.Bid >= 0 && row.Ask >= row.Bid && row.Volume >= 0 &&
           row.OpenInterest >= 0;
}

// Volume as a percentage of open interest; traded options without open interest count as 100.
float VolumePercentage(const OptionRow& row)
{
    if (row.Volume == 0) return 0;
    if (row.OpenInterest <= 0) return 100;
    return Finite(row.Volume * 100 / row.OpenInterest);
}

bool Below(float value, const std::optional<double>& minimum)
{
    return minimum && value < *minimum;
}

bool PassesScreen(const OptionRow& row, float timeValue, float intrinsic,
                  const OptionCriteria& criteria)
{
    if (Below(row.Volume, criteria.MinOptVol)) return false;
    if (Below(row.OpenInterest, criteria.MinOptInt)) return false;
    if (criteria.MinOptPctVol && VolumePercentage(row) < *criteria.MinOptPctVol) return false;
    if (Below(timeValue, criteria.MinTimeVal)) return false;
    return !(criteria.MaxIntVal && intrinsic > *criteria.MaxIntVal);
}

// In the order of OptionCriteria.
constexpr std::array<Criterion UserSettings::*, 7> OptionCriterionMembers{
    &UserSettings::MinOptVol,  &UserSettings::MinOptInt, &UserSettings::MinOptPctVol, &UserSettings::MinTimeVal,
    &UserSettings::MaxIntVal,  &UserSettings::MinQVAC,   &UserSettings::MinQVAP};

OptionCriteria CriteriaOf(const UserSettings& settings)
{
    const auto bound = [&settings](int i) { return (settings.*OptionCriterionMembers[i]).InForce(); };
    return {bound(0), bound(1), bound(2), bound(3), bound(4), bound(5), bound(6)};
}

// Solves, screens and averages the six options of each side, with the model inputs of the
// option in hand kept in quote.Model.
class OptionScreen {
public:
    OptionScreen(QuoteData& quote, const UserSettings& settings, SolvedVolatilities* solved)
        : quote_(quote), settings_(settings), criteria_(CriteriaOf(settings)), solved_(solved),
          reuse_(solved && solved->Filled && solved->InterestRate == settings.InterestRate &&
                 solved->DrvQVAfrom == settings.DrvQVAfrom)
    {
    }

    bool ReusesSolved() const { return reuse_; }

    void AverageSide(Side side)
    {
        QVAResults& qva = quote_.QVA;
        // QVAAverage holds the weighted sum until the side is done.
        qva.QVAAverage[side] = 0;
        qva.WeightVolume[side] = 0;
        qva.WeightOpenInterest[side] = 0;
        for (const int strike : ShownStrikes) {
            quote_.Model.ModelStrike = quote_.Strikes.StrikePrice[strike];
            for (const int expiration : ShownExpirations) {
                quote_.Model.ModelDaysToExpiry = quote_.Calendar.DaysToExpiry[expiration];
                EvaluateOption(side, strike, expiration);
            }
        }
        const float totalWeight =
            settings_.AvgQVAusing != 0 ? qva.WeightOpenInterest[side] : qva.WeightVolume[side];
        qva.QVAAverage[side] = totalWeight < 1 ? -1 : Finite(qva.QVAAverage[side] / totalWeight);
    }

private:
    void EvaluateOption(Side side, int strike, int expiration)
    {
        OptionSeries& series = quote_.Series;
        float& optQVA = series.OptQVA[side][strike][expiration];
        OptionNote& note = series.OptNote[side][strike][expiration];
        optQVA = -1;
        note = OptionNote::NotIncluded;
        series.OptSymbol[side][strike][expiration] = OptionSymbolOf(quote_, side, strike, expiration);

        const OptionRow row = RowOf(series, side, strike, expiration);
        if (!IsValid(row)) return;
        const float price = Finite(PriceUsed(series, settings_.DrvQVAfrom, side, strike, expiration));
        const float weight = settings_.AvgQVAusing != 0 ? row.OpenInterest : row.Volume;
        const ModelInputs& model = quote_.Model;
        const float intrinsic = Finite(IntrinsicValue(side, model.ModelStockPrice, model.ModelStrike));
        const float timeValue = Finite(price - intrinsic);

        Solve(side, strike, expiration, price);
        const float sigma = quote_.Model.ModelVolatility;
        if (!(sigma >= MinAcceptedVolatility && sigma <= MaxAcceptedVolatility)) return;
        optQVA = sigma;
        if (!PassesScreen(row, timeValue, intrinsic, criteria_)) return;

        QVAResults& qva = quote_.QVA;
        qva.QVAAverage[side] = Finite(qva.QVAAverage[side] + weight * sigma);
        qva.WeightVolume[side] = Finite(qva.WeightVolume[side] + row.Volume);
        qva.WeightOpenInterest[side] = Finite(qva.WeightOpenInterest[side] + row.OpenInterest);
        note = ReachesMinQVA(side, sigma) ? OptionNote::MinQVAReached : OptionNote::Included;
    }

    void Solve(Side side, int strike, int expiration, float price)
    {
        if (reuse_) {
            quote_.Model.ModelVolatility = solved_->Sigma[side][strike][expiration];
            return;
        }
        SolveImpliedVolatility(quote_.Model, side, price);
        if (solved_) solved_->Sigma[side][strike][expiration] = quote_.Model.ModelVolatility;
    }

    bool ReachesMinQVA(Side side, float sigma) const
    {
        const std::optional<double>& minimum =
            side == Calls ? criteria_.MinQVAC : criteria_.MinQVAP;
        const float percent = sigma * 100;
        return minimum && percent >= *minimum;
    }

    QuoteData& quote_;
    const UserSettings& settings_;
    const OptionCriteria criteria_;
    SolvedVolatilities* const solved_;
    const bool reuse_;
};

} // namespace

void ComputeQVA(QuoteData& quote, const UserSettings& settings, SolvedVolatilities* solved)
{
    quote.Model.ModelDividendRate = quote.Stock.YieldPercent / 100;
    quote.Model.ModelStockPrice = quote.Stock.LastSale;
    quote.Model.InterestRate = settings.InterestRate;
    OptionScreen screen(quote, settings, solved);
    if (solved && !screen.ReusesSolved()) solved->Filled = false; // until every option is solved again
    screen.AverageSide(Calls);
    screen.AverageSide(Puts);
    if (solved && !screen.ReusesSolved()) {
        solved->Filled = true;
        solved->InterestRate = settings.InterestRate;
        solved->DrvQVAfrom = settings.DrvQVAfrom;
    }
}

std::optional<float> SolvedFromPrice(const OptionSeries& series, Side side, int strike, int expiration,
                                     std::int16_t drvQVAfrom)
{
    if (!IsValid(RowOf(series, side, strike, expiration))) return std::nullopt;
    return Finite(PriceUsed(series, drvQVAfrom, side, strike, expiration));
}

bool ComputeQVAReads(Criterion UserSettings::*member)
{
    return std::find(OptionCriterionMembers.begin(), OptionCriterionMembers.end(), member) !=
           OptionCriterionMembers.end();
}
