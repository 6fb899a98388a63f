#pragma once
// The quote sources of a console run, built in one place.

#include <functional>
#include <memory>

#include "core/SharedState.h"
#include "core/run/QuoteSource.h"
#include "core/run/ReplaySource.h"
#include "core/run/RunHost.h"

class QtHttpTransfer;
class ServerSource;

struct CliQuoteSources {
    CliQuoteSources(SharedState& state, RunHost& host, std::function<void()> pauseRun);
    ~CliQuoteSources();

    ReplaySource Local;
    std::unique_ptr<QtHttpTransfer> Transfer;
    std::unique_ptr<ServerSource> Server;
};
