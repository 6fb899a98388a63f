#pragma once
// Full paths of the files in the program directory. The symbol file's path is a setting
// (UserSettings::FnSym) because the user may choose another; its default is built here.

#include <string>

struct FilePaths {
    std::string ProgramDirectory;
    std::string DefaultFnSym; // "Symbols.sym"
    std::string FnTemp;       // "QUIL---.tmp", used only between the renames of a swap
    std::string FnResults;
    std::string FnResultsBak;
    std::string FnSavedSym;
    std::string FnSavedSymBak;
    std::string FnGoodSym;
    std::string FnBadSym;
    std::string FnProgress;
    std::string FnSettings;   // "Quillon.---"
    std::string FnQuote;
    std::string FnQuoteBak;
    std::string FnPassTable;  // "Pass.csv", one row per evaluated symbol of the pass
    std::string FnPassTableBak;
    std::string FnHistory;    // "History.db", the implied volatilities of earlier live passes
    std::string FnAcceptance; // the acceptance record of the agreement gate

    static FilePaths Build(const std::string& programDirectory);
};
