#include "core/history/HistoryRecorder.h"

#include <array>
#include <cstdio>

namespace {

std::string DateOf(const LocalDateTime& now)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", now.Year, now.Month, now.Day);
    return text.data();
}

} // namespace

void HistoryRecorder::Record(const SharedState& state, RunHost& host, std::int16_t ok)
{
    if (ok == 0 || failed_ || state.Settings.GetQuoteFromLocalFile) return;
    std::optional<std::string> failure;
    if (!store_.IsOpen()) failure = store_.Open(state.Paths.FnHistory);
    if (!failure) {
        const HistoryDay day = HistoryDayOf(state.Quote, state.Run.CurrentSymbol, DateOf(state.clock.Now()));
        failure = store_.Record(std::span(&day, 1));
    }
    if (!failure) return;
    failed_ = true;
    host.SetStatus2(*failure + ", the pass goes on without history");
}

SymbolEvaluator RecordingHistory(SymbolEvaluator evaluate, HistoryRecorder& recorder)
{
    return [evaluate = std::move(evaluate), &recorder](SharedState& state, RunHost& host, std::int16_t ok) {
        evaluate(state, host, ok);
        recorder.Record(state, host, ok);
    };
}
