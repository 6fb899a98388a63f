#pragma once
// The run's position and flags, shared by the run controller, the quote sources and the
// evaluation. They survive closing the run window while the symbol list stays loaded.

#include <cstdint>
#include <string>
#include <vector>

#include "core/run/PassTally.h"
#include "core/run/SymbolVerdict.h"

enum RunStateValue : std::int16_t {
    Waiting = 0,
    Running = 1,
    ResetRequested = 2,
    CloseRequested = -1,
};

struct RunStatus {
    std::int16_t RunState = Waiting;
    std::int16_t SymbolIndex = 1;  // 1-based position in SymbolList of the symbol in hand
    std::int16_t SavedCount = 0;   // symbols saved in the current pass
    std::string CurrentSymbol;
    bool AlarmPending = false;
    std::int16_t AlarmBeeps = 0;       // beeps still to sound
    std::int16_t BeepTickCounter = 0;  // ticks since the last beep, 0..11
    std::int16_t SettleTicks = 0;      // countdowns of the quote retrieval, one per timer tick
    std::int16_t TimeoutTicks = 0;
    SymbolVerdict Verdict = SymbolVerdict::NotSaved;
    // True while a pass starts that resumes one begun before (a progress record written during it
    // was found, or the run window was closed before the pass's first symbol was evaluated): its
    // output files and quote cache are kept, even at the first symbol.
    bool PassResumed = false;
    PassTally Tally; // this run window's share of the current pass
};

// At most 30000 distinct symbols of 1 to 6 upper-case letters and digits, ascending.
struct SymbolListState {
    std::vector<std::string> SymbolList; // entry i of the 1-based list is SymbolList[i - 1]
    std::int16_t SymbolCount = 0;
};

inline constexpr std::int16_t SymbolCapacityLimit = 30000;
