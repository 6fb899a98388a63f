#pragma once
// The desktop run window's quote server source, with the HTTP transfer it owns.

#include <functional>
#include <memory>

#include "core/SharedState.h"
#include "core/run/QuoteSource.h"
#include "core/run/RunHost.h"

// A ServerSource on a QtHttpTransfer of its own; `pauseRun` pauses the run on a refused login.
std::unique_ptr<QuoteSource> MakeDesktopServerSource(SharedState& state, RunHost& host, std::function<void()> pauseRun);
