#pragma once
// The quotes of a replay pass read once into memory, so that the screen can be run over them again
// and again with other settings (the what-if sweep, the Filter dialog's count) without touching a
// file. The symbols and their quote records are exactly those a replay pass would evaluate.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/quotes/Clock.h"
#include "core/quotes/QVA.h"
#include "core/quotes/QuoteData.h"
#include "core/run/PassTally.h"
#include "core/run/RunProblem.h"
#include "core/settings/UserSettings.h"

struct ReplayedSymbol {
    std::string Symbol;
    std::optional<QuoteData> Quote; // nothing when the replay would find no usable record
    bool Faulted = false;           // the last QVA computation of Quote ended in an ArithmeticFault
    SolvedVolatilities Solved;      // of Quote, for the counts after the first
};

struct QuoteSnapshot {
    std::vector<ReplayedSymbol> Symbols; // in the order of the pass
    int WithQuotes = 0;                  // symbols that have a Quote
};

// How a program words a problem with a file for its user.
using ProblemWording = std::string (*)(RunProblem, std::string_view path);

// Reads the symbol file `fnSym` (sorted and merged as a run does) and the quote cache `fnQuote` as
// of `now`. Nothing when either cannot be used; `problem` then holds the message that the run of
// the same program shows, in the program's `wording`.
std::optional<QuoteSnapshot> ReadQuoteSnapshot(const std::string& fnSym, const std::string& fnQuote,
                                               const LocalDateTime& now, std::string& problem,
                                               ProblemWording wording = SystemProblemText);

// What a pass with `settings` makes of one symbol, through the run's own screen. The quote record
// is reused in place: the screen recomputes everything it derives from it.
SymbolOutcome ReplayOutcome(ReplayedSymbol& symbol, const UserSettings& settings);

// How the count treats the QVA results of the snapshot: computed again for each symbol (always
// right), or kept from the last computation, which is right only while no setting that ComputeQVA
// reads has changed since (see ComputeQVAReads) and saves most of the time of a count.
enum class QVAResultsUse { Recompute, Keep };

// Which symbols of the snapshot `settings` save, in its order. `stop` is asked between symbols;
// when it answers true the count is abandoned and the result is nothing.
std::optional<std::vector<bool>> SavedSymbols(QuoteSnapshot& snapshot, const UserSettings& settings,
                                              QVAResultsUse use = QVAResultsUse::Recompute,
                                              const std::function<bool()>& stop = {});
