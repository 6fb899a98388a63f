#include "core/run/Evaluation.h"

#include <optional>

#include "core/quotes/QVA.h"
#include "core/report/ResultsBlock.h"
#include "core/report/ResultsFile.h"
#include "core/run/ProgressFile.h"
#include "core/run/StockScreen.h"
#include "core/run/SymbolOutputFiles.h"

namespace {

// QVAC and QVAP as the screen and SavedSym.txt see them: percent, single precision.
float QVAPercent(const QuoteData& quote, int side) { return quote.QVA.QVAAverage[side] * 100.0f; }

// The alarm request, the SavedSym.txt line and the numbered block in Results.txt.
void SaveSymbol(SharedState& state, RunHost& host)
{
    RunStatus& run = state.Run;
    if (host.AlarmChecked()) {
        run.AlarmPending = true;
        host.SetStatus1("Alarm: " + run.CurrentSymbol + " saved");
    }
    // A side without an average holds -1: subtracting it would show a difference that does not exist.
    const float qc = QVAPercent(state.Quote, Calls);
    const float qp = QVAPercent(state.Quote, Puts);
    const std::optional<float> difference =
        qc >= 0 && qp >= 0 ? std::optional<float>(qc - qp) : std::nullopt;
    AppendSavedSymbol(state.Paths.FnSavedSym, run.SavedCount, run.CurrentSymbol, state.Quote.Stock,
                      difference);
    // A results file that cannot be appended to loses the block; SavedCount then stays as it was.
    (void)AppendSavedBlock(state.Page.PageText, run.SavedCount, state.Paths.FnResults);
}

} // namespace

void EvaluateSymbol(SharedState& state, RunHost& host, std::int16_t ok)
{
    RunStatus& run = state.Run;
    QuoteData& quote = state.Quote;
    run.Verdict = VerdictNotSaved;
    if (ok == 0) {
        AppendBadSymbol(state.Paths.FnBadSym, run.CurrentSymbol);
    } else {
        AppendGoodSymbol(state.Paths.FnGoodSym, run.CurrentSymbol, quote.Stock);
        ComputeQVA(quote, state.Settings); // an ArithmeticFault ends the evaluation here
        if (quote.Stock.Volume >= 0 && PassesStockScreen(quote.Stock, state.Settings))
            run.Verdict = OptionVerdict(quote.Series, QVAPercent(quote, Calls), QVAPercent(quote, Puts),
                                        state.Settings);
    }
    state.Page.PageText = BuildResultsBlock(state);
    if (run.Verdict != VerdictNotSaved) SaveSymbol(state, host);
    // Nothing follows the record: a write that fails simply leaves the previous one in place.
    (void)WriteProgress(state.Paths.FnProgress, run.SavedCount, run.SymbolIndex);
}
