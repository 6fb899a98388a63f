#include "core/run/StockScreen.h"

namespace {

bool WithinBounds(double value, const Criterion& minimum, const Criterion& maximum)
{
    if (const auto bound = minimum.InForce(); bound && value < *bound) return false;
    if (const auto bound = maximum.InForce(); bound && value > *bound) return false;
    return true;
}

bool WithinRangeBounds(const StockQuote& stock, const UserSettings& settings)
{
    // An unknown position cannot be shown to lie within a bound, nor should it end the evaluation.
    if (stock.High52Week == stock.Low52Week)
        return !settings.MinRange.InForce() && !settings.MaxRange.InForce();
    const float range =
        (stock.LastSale - stock.Low52Week) * 100.0f / (stock.High52Week - stock.Low52Week);
    return WithinBounds(range, settings.MinRange, settings.MaxRange);
}

// Note 1 makes the verdict "included" and the walk goes on; note 2 ends it.
std::int16_t VerdictFromNotes(const OptionSeries& series)
{
    std::int16_t verdict = VerdictNotSaved;
    for (const int side : {Calls, Puts}) {
        for (const int s : {1, 2, 3}) {
            for (const int e : {0, 1}) {
                const std::int16_t note = series.OptNote[side][s][e];
                if (note == 2) return VerdictMinQVAReached;
                if (note == 1) verdict = VerdictOptionIncluded;
            }
        }
    }
    return verdict;
}

} // namespace

bool PassesStockScreen(const StockQuote& stock, const UserSettings& settings)
{
    const double marketCapMillions = static_cast<double>(stock.LastSale) * stock.SharesOutstanding / 1e6;
    return WithinBounds(stock.Volume / 1000.0, settings.MinVolume, settings.MaxVolume) &&
           WithinBounds(stock.PriceEarnings, settings.MinPE, settings.MaxPE) &&
           WithinBounds(marketCapMillions, settings.MinMktCap, settings.MaxMktCap) &&
           WithinBounds(stock.LastSale, settings.MinLast, settings.MaxLast) &&
           WithinBounds(stock.Volatility, settings.MinBeta, settings.MaxBeta) &&
           WithinBounds(stock.PercentChange, settings.MinPctChange, settings.MaxPctChange) &&
           WithinBounds(stock.YieldPercent, settings.MinYield, settings.MaxYield) &&
           WithinRangeBounds(stock, settings);
}

std::int16_t OptionVerdict(const OptionSeries& series, float qc, float qp, const UserSettings& settings)
{
    std::int16_t verdict = VerdictFromNotes(series);
    const auto callsAhead = settings.MinQVAC_QVAP.InForce();
    const auto putsAhead = settings.MinQVAP_QVAC.InForce();
    if (!callsAhead && !putsAhead) return verdict;
    if (qc >= 0 && qp >= 0) {
        if (callsAhead && qc - qp >= *callsAhead) verdict = VerdictCallsAhead;
        if (putsAhead && qp - qc >= *putsAhead) verdict = VerdictPutsAhead;
    }
    // With a difference criterion set, merely included options are not worth keeping.
    return verdict == VerdictOptionIncluded ? VerdictNotSaved : verdict;
}
