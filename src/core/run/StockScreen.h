#pragma once
// The stock-level screen and the verdict of one evaluated symbol.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/UserSettings.h"
#include "core/quotes/QuoteData.h"
#include "core/run/PassTally.h"
#include "core/run/SymbolVerdict.h"

// Saved or ScreenedOut: what the verdict makes of a symbol whose quotes were used.
inline SymbolOutcome OutcomeOf(SymbolVerdict verdict)
{
    return verdict != SymbolVerdict::NotSaved ? SymbolOutcome::Saved : SymbolOutcome::ScreenedOut;
}

// The eight figures the stock screen reads, in its order: volume in thousands, P/E, market
// capitalisation in millions, last sale, beta (Volatility), % change, yield, and the position of the
// last sale in the 52-week range in percent (nothing when the 52-week high equals the low).
inline constexpr int ScreenedFigureCount = 8;
using ScreenedFigures = std::array<std::optional<double>, ScreenedFigureCount>;
ScreenedFigures ScreenedFiguresOf(const StockQuote& stock);
// The position in ScreenedFigures of the figure that the stock criterion `criterion` bounds (1 for
// "MinPE" and "MaxPE"); nothing for a criterion of the option screen or a reason.
std::optional<int> ScreenedFigureOf(std::string_view criterion);

// What kept a symbol from being saved: the first criterion that failed in the screen's own order
// (the stock rows, Min before Max, then the alternatives of the verdict), the symbol's figure for it
// and the bound. Two reasons are no criterion: NoVolumeReason (the quote gave no volume, so the
// screen did not run) and NoOptionReason (no option was included in the averages while neither
// difference criterion is in force); they have neither figure nor bound.
struct ScreenFailure {
    std::string Criterion;
    std::optional<double> Value; // nothing when the symbol has no such figure
    std::optional<double> Bound;
    bool operator==(const ScreenFailure&) const = default;
};
inline constexpr std::string_view NoVolumeReason = "no volume";
inline constexpr std::string_view NoOptionReason = "no option included";

// The verdict of one symbol, and the failure that explains a SymbolVerdict::NotSaved.
struct ScreenResult {
    SymbolVerdict Verdict = SymbolVerdict::NotSaved;
    std::optional<ScreenFailure> Failure;
};

// The whole decision on a symbol whose quotes could be used: ComputeQVA (which fills the QVA
// results and option notes of `quote`, and throws ArithmeticFault when its arithmetic leaves the
// finite numbers), then ScreenAnalysedSymbol. The run and the what-if sweep both decide through
// this, so they cannot disagree.
ScreenResult ScreenSymbol(QuoteData& quote, const UserSettings& settings);

// The stock screen and the verdict of a quote whose QVA results are already computed with settings
// that differ from `settings` in none of the values ComputeQVA reads.
ScreenResult ScreenAnalysedSymbol(const QuoteData& quote, const UserSettings& settings);

// The first stock-level criterion in force that the stock fails, both bounds inclusive; nothing
// when it passes them all. An unknown range position fails a MinRange or MaxRange in force.
std::optional<ScreenFailure> FirstStockFailure(const StockQuote& stock, const UserSettings& settings);

// True when FirstStockFailure finds nothing. The caller skips the screen for a negative Volume.
bool PassesStockScreen(const StockQuote& stock, const UserSettings& settings);

// The verdict from the notes of the shown options and the two QVA-difference criteria. qc and qp
// are QVAC and QVAP in percent, negative when there is no average.
SymbolVerdict OptionVerdict(const OptionSeries& series, float qc, float qp, const UserSettings& settings);
