#pragma once
// The files that stop a run before it can go on, named so that each host can word them its own
// way: the run window shows the system's message boxes, a terminal names the file and says what
// to do there.

#include <string>
#include <string_view>

enum class RunProblem {
    ResultsNotWritable,   // Results.txt cannot be opened for append
    SymbolFileUnreadable, // the symbol file cannot be opened
    NoSymbols,            // the symbol file holds no symbol
    QuoteCacheUnreadable, // Quote.txt cannot be opened for a replay
};

// The system's own message for `problem` with the file at `path`, as the run window shows it.
std::string SystemProblemText(RunProblem problem, std::string_view path);
