#pragma once
// What the evaluation concluded about the symbol in hand. Every verdict but NotSaved saves it.

#include <cstdint>

enum class SymbolVerdict : std::int16_t {
    NotSaved = -2,      // not evaluated, screened out, or nothing notable
    PutsAhead = -1,     // QVAP - QVAC reached MinQVAP_QVAC
    OptionIncluded = 0, // some shown option was included in the averages
    CallsAhead = 1,     // QVAC - QVAP reached MinQVAC_QVAP
    MinQVAReached = 2,  // some shown option reached Min QVA of its side
};
