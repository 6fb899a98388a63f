#include "core/run/StockScreen.h"

#include <algorithm>

#include "core/quotes/QVA.h"
#include "core/quotes/OptionWindow.h"

namespace {

// One row of the stock screen: the criteria that bound ScreenedFigures entry of the same position.
struct BoundPair {
    std::string_view MinName;
    Criterion UserSettings::*Min;
    std::string_view MaxName;
    Criterion UserSettings::*Max;
};

constexpr std::array<BoundPair, ScreenedFigureCount> StockScreenRows{{
    {"MinVolume", &UserSettings::MinVolume, "MaxVolume", &UserSettings::MaxVolume},
    {"MinPE", &UserSettings::MinPE, "MaxPE", &UserSettings::MaxPE},
    {"MinMktCap", &UserSettings::MinMktCap, "MaxMktCap", &UserSettings::MaxMktCap},
    {"MinLast", &UserSettings::MinLast, "MaxLast", &UserSettings::MaxLast},
    {"MinBeta", &UserSettings::MinBeta, "MaxBeta", &UserSettings::MaxBeta},
    {"MinPctChange", &UserSettings::MinPctChange, "MaxPctChange", &UserSettings::MaxPctChange},
    {"MinYield", &UserSettings::MinYield, "MaxYield", &UserSettings::MaxYield},
    {"MinRange", &UserSettings::MinRange, "MaxRange", &UserSettings::MaxRange},
}};

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

// The highest volatility, in percent, of the side's options included in the average: the figure
// that Min QVA of that side would have to reach.
std::optional<double> HighestIncludedPercent(const OptionSeries& series, Side side)
{
    std::optional<double> highest;
    for (const int s : ShownStrikes)
        for (const int e : ShownExpirations)
            if (series.OptNote[side][s][e] != OptionNote::NotIncluded)
                highest = std::max(highest.value_or(0), double{series.OptQVA[side][s][e] * 100.0f});
    return highest;
}

// Why OptionVerdict left the symbol unsaved. Without a difference criterion that happens only when
// no option was included; with one, each alternative that would have saved the symbol failed, and
// the first of them in force, in the order the verdict looks at them, is named.
ScreenFailure VerdictFailure(const QuoteData& quote, float qc, float qp, const UserSettings& settings)
{
    if (!settings.MinQVAC_QVAP.InForce() && !settings.MinQVAP_QVAC.InForce())
        return {std::string(NoOptionReason), std::nullopt, std::nullopt};
    const bool bothAverages = qc >= 0 && qp >= 0;
    const struct {
        std::string_view Name;
        const Criterion& Bound;
        std::optional<double> Value;
    } alternatives[] = {
        {"MinQVAC", settings.MinQVAC, HighestIncludedPercent(quote.Series, Calls)},
        {"MinQVAP", settings.MinQVAP, HighestIncludedPercent(quote.Series, Puts)},
        {"MinQVAC_QVAP", settings.MinQVAC_QVAP, bothAverages ? std::optional<double>(qc - qp) : std::nullopt},
        {"MinQVAP_QVAC", settings.MinQVAP_QVAC, bothAverages ? std::optional<double>(qp - qc) : std::nullopt},
    };
    const auto inForce = std::find_if(std::begin(alternatives), std::end(alternatives),
                                      [](const auto& alternative) { return alternative.Bound.InForce(); });
    return {std::string(inForce->Name), inForce->Value, inForce->Bound.InForce()};
}

} // namespace

ScreenedFigures ScreenedFiguresOf(const StockQuote& stock)
{
    std::optional<double> range;
    if (stock.High52Week != stock.Low52Week)
        range = (stock.LastSale - stock.Low52Week) * 100.0f / (stock.High52Week - stock.Low52Week);
    return {stock.Volume / 1000.0,
            stock.PriceEarnings,
            static_cast<double>(stock.LastSale) * stock.SharesOutstanding / 1e6,
            stock.LastSale,
            stock.Volatility,
            stock.PercentChange,
            stock.YieldPercent,
            range};
}

std::optional<int> ScreenedFigureOf(std::string_view criterion)
{
    for (std::size_t row = 0; row < StockScreenRows.size(); ++row)
        if (StockScreenRows[row].MinName == criterion || StockScreenRows[row].MaxName == criterion)
            return static_cast<int>(row);
    return std::nullopt;
}

std::optional<ScreenFailure> FirstStockFailure(const StockQuote& stock, const UserSettings& settings)
{
    const ScreenedFigures figures = ScreenedFiguresOf(stock);
    for (std::size_t row = 0; row < StockScreenRows.size(); ++row) {
        const BoundPair& pair = StockScreenRows[row];
        const std::optional<double>& value = figures[row];
        // An unknown figure cannot be shown to lie within a bound.
        if (const auto bound = (settings.*pair.Min).InForce(); bound && (!value || *value < *bound))
            return ScreenFailure{std::string(pair.MinName), value, bound};
        if (const auto bound = (settings.*pair.Max).InForce(); bound && (!value || *value > *bound))
            return ScreenFailure{std::string(pair.MaxName), value, bound};
    }
    return std::nullopt;
}

bool PassesStockScreen(const StockQuote& stock, const UserSettings& settings)
{
    return !FirstStockFailure(stock, settings);
}

ScreenResult ScreenSymbol(QuoteData& quote, const UserSettings& settings)
{
    ComputeQVA(quote, settings);
    return ScreenAnalysedSymbol(quote, settings);
}

ScreenResult ScreenAnalysedSymbol(const QuoteData& quote, const UserSettings& settings)
{
    if (quote.Stock.Volume < 0) return {SymbolVerdict::NotSaved, ScreenFailure{std::string(NoVolumeReason), {}, {}}};
    if (auto failure = FirstStockFailure(quote.Stock, settings)) return {SymbolVerdict::NotSaved, std::move(failure)};
    const float qc = QVAPercent(quote, Calls);
    const float qp = QVAPercent(quote, Puts);
    const SymbolVerdict verdict = OptionVerdict(quote.Series, qc, qp, settings);
    if (verdict != SymbolVerdict::NotSaved) return {verdict, std::nullopt};
    return {verdict, VerdictFailure(quote, qc, qp, settings)};
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
