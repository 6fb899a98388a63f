#pragma once
// Where a run's quotes come from: the quote server or the quote cache replay. The run controller
// drives a source step by step; a source never blocks and never runs an event loop of its own.

#include <cstdint>
#include <optional>

class QuoteSource {
public:
    virtual ~QuoteSource() = default;

    // Called at the start of every pass, right after the output files are prepared. False when the
    // source cannot be used at all (it has told the host why); the run then ends.
    virtual bool StartPass() = 0;

    // Begins fetching the quotes of RunStatus::CurrentSymbol.
    virtual void BeginSymbol() = 0;

    // Advances the fetch of the current symbol as far as it can without waiting. Returns the
    // parser result `ok` (0 when the quotes could not be used) once the symbol's quotes are in the
    // shared quote record, or nothing while it still waits (for a tick, a transfer, a settle time).
    // A source that needs the run to pause (a refused login) sets RunState to Waiting itself.
    virtual std::optional<std::int16_t> Step() = 0;

    // The window is closing: abandon any transfer in progress and close open files.
    virtual void Cancel() = 0;
};
