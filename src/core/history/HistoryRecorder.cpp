#include "core/history/HistoryRecorder.h"

#include <filesystem>

#include "core/run/Evaluation.h"

void HistoryRecorder::Fail(RunHost& host, const std::string& failure)
{
    failed_ = true;
    host.SetStatus2(failure + ", the pass goes on without history");
}

bool HistoryRecorder::Ready(const SharedState& state, RunHost& host)
{
    if (failed_) return false;
    if (store_.IsOpen()) return true;
    // A replay without history goes without: it is no failure worth a message.
    const bool replay = state.Settings.GetQuoteFromLocalFile;
    std::error_code ignored; // a path that cannot even be looked at fails to open below
    if (replay && !std::filesystem::exists(state.Paths.FnHistory, ignored)) return false;
    if (const std::optional<std::string> failure = store_.Open(state.Paths.FnHistory)) {
        Fail(host, *failure);
        return false;
    }
    return true;
}

IvStanding HistoryRecorder::RecordAndRank(const SharedState& state, RunHost& host)
{
    if (!Ready(state, host)) return {};
    const HistoryDay day = HistoryDayOf(state.Quote, state.Run.CurrentSymbol, FormatDate(state.clock.Now()));
    if (!state.Settings.GetQuoteFromLocalFile) {
        if (const std::optional<std::string> failure = store_.Record(std::span(&day, 1))) {
            Fail(host, *failure);
            return {};
        }
    }
    // A new pass starts over (the index goes back): the year is read again only when an import or
    // another program has changed the store since, as reading it costs a pass over every symbol's year.
    if (state.Run.SymbolIndex <= rankedIndex_ && store_.ChangesByOthers() != pastYearChanges_) pastYearDate_.clear();
    rankedIndex_ = state.Run.SymbolIndex;
    return StandingOfDay(PastYear(day.Date), day);
}

const VolatilitiesBySymbol& HistoryRecorder::PastYear(const std::string& date)
{
    // Today's rows, which a live pass writes, lie outside the span: what was read stays true.
    if (date != pastYearDate_) {
        pastYearChanges_ = store_.ChangesByOthers();
        pastYear_ = PastYearOfAll(store_, date);
        pastYearDate_ = date;
    }
    return pastYear_;
}

SymbolEvaluator RecordingHistory(HistoryRecorder& recorder)
{
    return [&recorder](SharedState& state, RunHost& host, std::int16_t ok) {
        EvaluateRankedSymbol(state, host, ok, [&recorder](const SharedState& screened, RunHost& shown) {
            return recorder.RecordAndRank(screened, shown);
        });
    };
}
