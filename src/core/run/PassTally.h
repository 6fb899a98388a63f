#pragma once
// What became of each symbol of a pass: the one vocabulary the console lines, the run window's
// end-of-pass line and the pass table share.

#include <string>

enum class SymbolOutcome {
    Saved,       // the verdict saved it: SavedSym.txt and Results.txt have it
    ScreenedOut, // quotes were used, but no criterion of the verdict was met
    NoQuotes,    // the quotes could not be used: BadSym.txt has it
    Error,       // the evaluation ended early (an arithmetic fault, a failed write)
};

// Counts of the symbols evaluated since the pass started or resumed in this run window.
struct PassTally {
    int Evaluated = 0;
    int WithQuotes = 0;    // Saved + ScreenedOut
    int WithoutQuotes = 0; // NoQuotes
    int Saved = 0;
    int Errors = 0;
    int MissingFromQuoteFile = 0; // a replay found no record of the symbol in Quote.txt


    void Count(SymbolOutcome outcome)
    {
        ++Evaluated;
        switch (outcome) {
        case SymbolOutcome::Saved: ++Saved; ++WithQuotes; break;
        case SymbolOutcome::ScreenedOut: ++WithQuotes; break;
        case SymbolOutcome::NoQuotes: ++WithoutQuotes; break;
        case SymbolOutcome::Error: ++Errors; break;
        }
    }
};

// The account of a pass in one line, as the run window shows it when the pass ends:
// "Pass done: 32 symbols evaluated, 5 with quotes, 27 without, 2 saved. 27 of 32 symbols are not
// in Quote.txt." The errors and the missing symbols are named only when there are any.
std::string PassTallyText(const PassTally& tally);
