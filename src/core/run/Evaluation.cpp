#include "core/run/Evaluation.h"

#include <optional>

#include "core/insight/PassTable.h"
#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/QVA.h"
#include "core/report/ResultsBlock.h"
#include "core/report/ResultsFile.h"
#include "core/run/PassOutputFiles.h"
#include "core/run/StockScreen.h"
#include "core/run/SymbolOutputFiles.h"

namespace {

// The alarm request, the SavedSym.txt line and the numbered block in Results.txt.
void SaveSymbol(SharedState& state, RunHost& host)
{
    RunStatus& run = state.Run;
    if (host.AlarmChecked()) {
        run.AlarmPending = true;
        host.AnnounceSaved(run.CurrentSymbol);
    }
    // A side without an average holds -1: subtracting it would show a difference that does not exist.
    const float qc = QVAPercent(state.Quote, Calls);
    const float qp = QVAPercent(state.Quote, Puts);
    const std::optional<float> difference =
        qc >= 0 && qp >= 0 ? std::optional<float>(qc - qp) : std::nullopt;
    (void)state.Outputs.Append(state.Paths, PassFile::SavedSym,
                               SavedSymbolLines(run.SavedCount, run.CurrentSymbol, state.Quote.Stock, difference));
    // A results file that cannot be appended to loses the block; SavedCount then stays as it was.
    std::string page = SavedPage(state.Page.PageText, run.SavedCount + 1);
    if (!state.Outputs.Append(state.Paths, PassFile::Results, page)) return;
    page.resize(page.size() - PageEndLength);
    state.Page.PageText = std::move(page);
    ++run.SavedCount;
}

void AppendToPassTable(SharedState& state, RunHost& host, SymbolOutcome outcome,
                       const std::optional<ScreenFailure>& failure, const IvStanding& standing = {})
{
    const PassRowInput row{state.Run.CurrentSymbol, outcome,           state.Quote, failure,
                           state.Settings.DrvQVAfrom, state.clock.Now(), standing};
    const bool startsTable = state.Outputs.IsEmpty(state.Paths, PassFile::PassTable);
    const CsvRow cells = PassRowCells(row);
    const std::string header = startsTable ? PassHeaderLine() : std::string();
    // A row that did not reach the file is not shown either: the table window mirrors Pass.csv.
    if (state.Outputs.Append(state.Paths, PassFile::PassTable, header + CsvLine(cells)))
        host.PassRowAppended(cells, startsTable);
}

ScreenResult ScreenRecordingFaults(SharedState& state, RunHost& host)
{
    try {
        return ScreenSymbol(state.Quote, state.Settings);
    } catch (const ArithmeticFault&) {
        // The pass table has a row for every evaluated symbol; the fault still ends the evaluation.
        AppendToPassTable(state, host, SymbolOutcome::Error, std::nullopt);
        throw;
    }
}

} // namespace

void EvaluateSymbol(SharedState& state, RunHost& host, std::int16_t ok) { EvaluateRankedSymbol(state, host, ok, {}); }

void EvaluateRankedSymbol(SharedState& state, RunHost& host, std::int16_t ok, const StandingLookup& standing)
{
    RunStatus& run = state.Run;
    QuoteData& quote = state.Quote;
    run.Verdict = SymbolVerdict::NotSaved;
    std::optional<ScreenFailure> failure;
    IvStanding ivStanding;
    if (ok == 0) {
        (void)state.Outputs.Append(state.Paths, PassFile::BadSym, BadSymbolLine(run.CurrentSymbol));
    } else {
        TrimCompanyName(quote.Stock); // the report shows the name as GoodSym.txt has it
        (void)state.Outputs.Append(state.Paths, PassFile::GoodSym, GoodSymbolLine(run.CurrentSymbol, quote.Stock));
        ScreenResult result = ScreenRecordingFaults(state, host); // an ArithmeticFault ends the evaluation here
        run.Verdict = result.Verdict;
        failure = std::move(result.Failure);
        if (standing) ivStanding = standing(state, host);
    }
    const bool saved = run.Verdict != SymbolVerdict::NotSaved;
    // Nobody would see the block of a symbol that is not saved when the host shows none.
    if (saved || host.ShowsBlocks())
        state.Page.PageText = BuildResultsBlock(state);
    else
        state.Page.PageText.clear();
    if (saved) SaveSymbol(state, host);
    AppendToPassTable(state, host, ok == 0 ? SymbolOutcome::NoQuotes : OutcomeOf(run.Verdict), failure, ivStanding);
    state.Outputs.RecordProgress(state.Paths, run.SavedCount, run.SymbolIndex);
    // A live pass goes at the pace of the network, not of its writes: its lines go out at once, and
    // a killed pass fetches nothing again.
    if (!state.Settings.GetQuoteFromLocalFile) (void)state.Outputs.Commit(state.Paths);
}
