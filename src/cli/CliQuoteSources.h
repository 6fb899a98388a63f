#pragma once
// The quote sources of a console run, built in one place.

#include <functional>
#include <memory>

#include "app/SharedState.h"
#include "tracing/QuoteSource.h"
#include "tracing/ReplaySource.h"
#include "tracing/RunHost.h"

class QtHttpTransfer;
class ServerSource;

struct CliQuoteSources {
    CliQuoteSources(SharedState& state, RunHost& host, std::function<void()> pauseRun);
    ~CliQuoteSources();

    ReplaySource Local;
    std::unique_ptr<QtHttpTransfer> Transfer;
    std::unique_ptr<ServerSource> Server;
};
