#include "core/insight/QuoteSnapshot.h"

#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/QVA.h"
#include "core/run/QuoteFileReader.h"
#include "core/run/ReadQuoteRecord.h"
#include "core/run/StockScreen.h"
#include "core/run/SymbolList.h"

std::optional<QuoteSnapshot> ReadQuoteSnapshot(const std::string& fnSym, const std::string& fnQuote,
                                               const LocalDateTime& now, std::string& problem,
                                               ProblemWording wording)
{
    std::optional<std::vector<std::string>> symbols = ReadSymbolFile(fnSym);
    if (!symbols) {
        problem = wording(RunProblem::SymbolFileUnreadable, fnSym);
        return std::nullopt;
    }
    if (symbols->empty()) {
        problem = wording(RunProblem::NoSymbols, fnSym);
        return std::nullopt;
    }
    SortSymbols(*symbols);
    MergeDuplicateSymbols(*symbols);
    QuoteFileReader reader;
    if (!reader.Open(fnQuote)) {
        problem = wording(RunProblem::QuoteCacheUnreadable, fnQuote);
        return std::nullopt;
    }
    QuoteSnapshot snapshot;
    snapshot.Symbols.reserve(symbols->size());
    QuoteData quote;
    for (std::string& symbol : *symbols) {
        std::optional<QuoteData> kept;
        if (ReadQuoteRecord(reader, quote, symbol, now)) {
            kept = quote;
            ++snapshot.WithQuotes;
        }
        snapshot.Symbols.push_back({std::move(symbol), std::move(kept), false, {}});
    }
    return snapshot;
}

namespace {

void ComputeQVAOf(ReplayedSymbol& symbol, const UserSettings& settings)
{
    symbol.Faulted = false;
    try {
        ComputeQVA(*symbol.Quote, settings, &symbol.Solved);
    } catch (const ArithmeticFault&) {
        // As in a pass: this symbol ends as an error, the count goes on.
        symbol.Faulted = true;
    }
}

// ScreenSymbol in two steps, so that a count may keep the first.
SymbolOutcome Outcome(ReplayedSymbol& symbol, const UserSettings& settings, QVAResultsUse use)
{
    if (!symbol.Quote) return SymbolOutcome::NoQuotes;
    if (use == QVAResultsUse::Recompute) ComputeQVAOf(symbol, settings);
    if (symbol.Faulted) return SymbolOutcome::Error;
    return OutcomeOf(ScreenAnalysedSymbol(*symbol.Quote, settings).Verdict);
}

} // namespace

SymbolOutcome ReplayOutcome(ReplayedSymbol& symbol, const UserSettings& settings)
{
    return Outcome(symbol, settings, QVAResultsUse::Recompute);
}

std::optional<std::vector<bool>> SavedSymbols(QuoteSnapshot& snapshot, const UserSettings& settings,
                                              QVAResultsUse use, const std::function<bool()>& stop)
{
    std::vector<bool> saved;
    saved.reserve(snapshot.Symbols.size());
    for (ReplayedSymbol& symbol : snapshot.Symbols) {
        if (stop && stop()) return std::nullopt;
        saved.push_back(Outcome(symbol, settings, use) == SymbolOutcome::Saved);
    }
    return saved;
}
