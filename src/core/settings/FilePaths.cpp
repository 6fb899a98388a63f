#include "core/settings/FilePaths.h"

FilePaths FilePaths::Build(const std::string& programDirectory)
{
    std::string dir = programDirectory;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    const auto in = [&dir](const char* name) { return dir + "/" + name; };
    FilePaths paths;
    paths.ProgramDirectory = dir;
    paths.DefaultFnSym = in("Symbols.sym");
    paths.FnTemp = in("QUIL---.tmp");
    paths.FnResults = in("Results.txt");
    paths.FnResultsBak = in("Results.bak");
    paths.FnSavedSym = in("SavedSym.txt");
    paths.FnSavedSymBak = in("SavedSym.bak");
    paths.FnGoodSym = in("GoodSym.txt");
    paths.FnBadSym = in("BadSym.txt");
    paths.FnProgress = in("Progress.---");
    paths.FnSettings = in("Quillon.---");
    paths.FnQuote = in("Quote.txt");
    paths.FnQuoteBak = in("Quote.bak");
    paths.FnPassTable = in("Pass.csv");
    paths.FnPassTableBak = in("Pass.bak");
    paths.FnHistory = in("History.db");
    paths.FnAcceptance = in("Accepted.---");
    return paths;
}
