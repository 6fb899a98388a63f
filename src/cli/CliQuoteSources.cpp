#include "cli/CliQuoteSources.h"

#include "qt/QtHttpTransfer.h"
#include "core/run/ServerSource.h"

CliQuoteSources::CliQuoteSources(SharedState& state, RunHost& host, std::function<void()> pauseRun)
    : Local(state, host), Transfer(std::make_unique<QtHttpTransfer>()),
      // Takes the quote server settings now, as the run window does when it opens.
      Server(std::make_unique<ServerSource>(state, host, *Transfer, std::move(pauseRun)))
{
}

CliQuoteSources::~CliQuoteSources() = default;
