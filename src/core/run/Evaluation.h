#pragma once
// What becomes of one symbol once its quotes are in the shared quote record.

#include <cstdint>
#include <functional>

#include "core/SharedState.h"
#include "core/history/IvStanding.h"
#include "core/run/RunHost.h"

// ok is the result of the last parser that ran (0: the quotes could not be used). Writes the
// GoodSym/BadSym/SavedSym lines, computes the QVA, screens the stock, sets Run.Verdict, builds the
// results block into Page.PageText (left empty for a symbol that is not saved when the host shows
// no blocks), appends saved blocks to Results.txt, raises AlarmPending when the host's Alarm box is
// checked, and rewrites the progress record, all through state.Outputs: a write that failed is
// left there for the caller to see. An ArithmeticFault ends the evaluation early and propagates
// to the caller.
void EvaluateSymbol(SharedState& state, RunHost& host, std::int16_t ok);

// EvaluateSymbol whose pass table row has the IV rank and percentile: `standing` is asked once for
// each screened symbol, its QVA results computed.
using StandingLookup = std::function<IvStanding(const SharedState&, RunHost&)>;
void EvaluateRankedSymbol(SharedState& state, RunHost& host, std::int16_t ok, const StandingLookup& standing);
