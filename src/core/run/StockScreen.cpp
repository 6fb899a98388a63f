#include "core/run/StockScreen.h"

#include "core/quotes/OptionWindow.h"

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
SymbolVerdict VerdictFromNotes(const OptionSeries& series)
{
    SymbolVerdict verdict = SymbolVerdict::NotSaved;
    for (const Side side : BothSides) {
        for (const int s : ShownStrikes) {
            for (const int e : ShownExpirations) {
                const OptionNote note = series.OptNote[side][s][e];
                if (note == OptionNote::MinQVAReached) return SymbolVerdict::MinQVAReached;
                if (note == OptionNote::Included) verdict = SymbolVerdict::OptionIncluded;
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

SymbolVerdict OptionVerdict(const OptionSeries& series, float qc, float qp, const UserSettings& settings)
{
    SymbolVerdict verdict = VerdictFromNotes(series);
    const auto callsAhead = settings.MinQVAC_QVAP.InForce();
    const auto putsAhead = settings.MinQVAP_QVAC.InForce();
    if (!callsAhead && !putsAhead) return verdict;
    if (qc >= 0 && qp >= 0) {
        if (callsAhead && qc - qp >= *callsAhead) verdict = SymbolVerdict::CallsAhead;
        if (putsAhead && qp - qc >= *putsAhead) verdict = SymbolVerdict::PutsAhead;
    }
    // With a difference criterion set, merely included options are not worth keeping.
    return verdict == SymbolVerdict::OptionIncluded ? SymbolVerdict::NotSaved : verdict;
}
