#pragma once
// Records each symbol of a live pass in History.db beside the pass's other files. A replay pass
// screens quotes already seen and records nothing.

#include <cstdint>

#include "core/SharedState.h"
#include "core/history/HistoryStore.h"
#include "core/run/RunController.h"

class HistoryRecorder {
public:
    // Stores the symbol just evaluated (its quotes in state.Quote) as of today's date, replacing
    // an earlier row of the same date. The store is opened at the first symbol; a store that cannot
    // be opened or written is reported once on Status2 and the pass goes on without history.
    void Record(const SharedState& state, RunHost& host, std::int16_t ok);

private:
    HistoryStore store_;
    bool failed_ = false;
};

// `evaluate` followed by the recorder, for the run controller.
SymbolEvaluator RecordingHistory(SymbolEvaluator evaluate, HistoryRecorder& recorder);
