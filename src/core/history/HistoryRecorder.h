#pragma once
// Keeps History.db beside the pass's other files: a live pass records each symbol, and every pass
// ranks each symbol's implied volatility against the symbol's stored days. A replay pass screens
// quotes already seen and records nothing.

#include "core/SharedState.h"
#include "core/history/HistoryStore.h"
#include "core/history/IvStanding.h"
#include "core/run/RunController.h"

class HistoryRecorder {
public:
    // For the symbol just screened (its quotes and QVA results in state.Quote): a live pass first
    // stores it as of today's date, replacing an earlier row of that date, then ranks it, so that
    // today counts among its days. A replay pass only reads a store that exists; it creates none.
    // The store is opened at the first symbol; a store that cannot be opened or written is
    // reported once on Status2 and the pass goes on without history (and empty standings).
    IvStanding RecordAndRank(const SharedState& state, RunHost& host);

private:
    // Opens the store when needed; false when there is none to use.
    bool Ready(const SharedState& state, RunHost& host);
    void Fail(RunHost& host, const std::string& failure);

    // The stored days every symbol of `date` is ranked against, read once for the date.
    const VolatilitiesBySymbol& PastYear(const std::string& date);

    HistoryStore store_;
    bool failed_ = false;
    VolatilitiesBySymbol pastYear_;
    std::string pastYearDate_; // the date pastYear_ was read for
    std::int64_t pastYearChanges_ = 0; // the store's ChangesByOthers when pastYear_ was read
    std::int16_t rankedIndex_ = 0; // the symbol index ranked last
};

// EvaluateSymbol with the recorder's standing for the pass table, for the run controller.
SymbolEvaluator RecordingHistory(HistoryRecorder& recorder);
