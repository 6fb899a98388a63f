#include "core/run/ReplaySource.h"

#include "core/run/ReadQuoteRecord.h"

bool ReplaySource::StartPass()
{
    if (reader_.Open(state_.Paths.FnQuote)) return true;
    host_.ShowProblem(RunProblem::QuoteCacheUnreadable, state_.Paths.FnQuote);
    return false;
}

void ReplaySource::BeginSymbol()
{
    // No message when this fails: every read of the pass then fails and its symbols are bad.
    if (state_.Run.SymbolIndex == 1) (void)reader_.Open(state_.Paths.FnQuote);
    host_.SetStatus1("Reading quotes of " + state_.Run.CurrentSymbol);
}

std::optional<std::int16_t> ReplaySource::Step()
{
    const QuoteRecordRead read =
        ReadQuoteRecordOf(reader_, state_.Quote, state_.Run.CurrentSymbol, state_.clock.Now());
    if (read == QuoteRecordRead::Missing) ++state_.Run.Tally.MissingFromQuoteFile;
    return static_cast<std::int16_t>(read == QuoteRecordRead::Complete ? 1 : 0);
}

void ReplaySource::Cancel() { reader_.Close(); }
