#include "cli/TerminalProblemText.h"

std::string TerminalProblemText(RunProblem problem, std::string_view path)
{
    const std::string file(path);
    switch (problem) {
    case RunProblem::ResultsNotWritable: return "Cannot open " + file + " for append, process stopped.";
    case RunProblem::SymbolFileUnreadable:
        return "Cannot open " + file + " for input: name a symbol file in the settings or create it.";
    case RunProblem::NoSymbols: return file + " contains no symbols, process stopped: add symbols to it, one a line.";
    case RunProblem::QuoteCacheUnreadable: break;
    }
    return "Cannot open " + file + " for input: record quotes first with --source server.";
}
