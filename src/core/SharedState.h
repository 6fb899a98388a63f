#pragma once
// Everything the program shares between its parts, one instance per program (tests make as many
// as they like). Each part takes the narrowest members it needs.

#include <string>

#include "core/Version.h"
#include "core/settings/FilePaths.h"
#include "core/settings/UserSettings.h"
#include "core/quotes/Clock.h"
#include "core/quotes/PageBuffer.h"
#include "core/quotes/QuoteData.h"
#include "core/run/PassOutputFiles.h"
#include "core/run/RunStatus.h"

inline constexpr const char* SampleTickerText =
    "IBM 110 + 1 3/8 MSFT 145 + 2 INTC 98 + 1 11/16 MTC 50 + 1/16 ";

struct SharedState {
    explicit SharedState(const Clock& clock) : clock(clock) {}

    const Clock& clock;
    float ProgramVersion = ProgramVersionNumber;
    std::string TickerText = SampleTickerText;
    // False makes the next run window read and sort the symbol file again.
    bool SymbolsLoaded = false;
    bool AgreementAccepted = false;

    FilePaths Paths;
    UserSettings Settings;
    SymbolListState Symbols;
    RunStatus Run;
    PageBuffer Page;
    QuoteData Quote;
    // The pass's output files, open while a pass goes on.
    PassOutputFiles Outputs;
};
