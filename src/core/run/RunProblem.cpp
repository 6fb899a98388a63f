#include "core/run/RunProblem.h"

#include "core/run/SymbolList.h"

std::string SystemProblemText(RunProblem problem, std::string_view path)
{
    switch (problem) {
    case RunProblem::ResultsNotWritable:
        // The system's own text: the placeholder name is shown as it stands.
        return "Cannot open FnResults for append, process stopped.";
    case RunProblem::SymbolFileUnreadable: return CannotOpenSymbolFileText(path);
    case RunProblem::NoSymbols: return NoSymbolsText(path);
    case RunProblem::QuoteCacheUnreadable: break;
    }
    return "Cannot open " + std::string(path) + " for input.";
}
