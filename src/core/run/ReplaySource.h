#pragma once
// Quotes taken from the quote cache Quote.txt instead of the quote server, so that one set of
// quotes can be screened again with other settings and without a connection.

#include "core/SharedState.h"
#include "core/run/QuoteFileReader.h"
#include "core/run/QuoteSource.h"
#include "core/run/RunHost.h"

class ReplaySource final : public QuoteSource {
public:
    ReplaySource(SharedState& state, RunHost& host) : state_(state), host_(host) {}

    // Opens Quote.txt from its start. When it cannot be opened the host shows
    // the QuoteCacheUnreadable problem and the result is false.
    bool StartPass() override;
    // Shows "Reading quotes of " + CurrentSymbol. At the first symbol of the list the file is
    // opened again from its start (silently: a failure makes every read of the pass fail).
    void BeginSymbol() override;
    // Reads the current symbol's records; never waits. 1 when they were complete, 0 otherwise.
    std::optional<std::int16_t> Step() override;
    // Closes the file.
    void Cancel() override;

private:
    SharedState& state_;
    RunHost& host_;
    QuoteFileReader reader_;
};
