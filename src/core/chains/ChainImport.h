#pragma once
// The import of chain files into the quote cache: for each symbol of the program directory's
// symbol list, in the order a pass takes them, the stock page and the option page of the chain
// market are parsed exactly as a live pass parses the server's pages, so that importing a file
// and a live pass against a server of the same file leave the same Quote.txt. Replaying it then
// screens real data at replay speed.

#include <string>

#include "core/chains/ChainIndex.h"
#include "core/settings/FilePaths.h"

struct ImportRequest {
    ChainFileRequest Chains;  // Symbols is filled from the symbol list
    std::string StocksPath;   // empty: no stock file
    std::string FnSym;        // the symbol file of the program directory
};

struct ImportOutcome {
    bool Written = false; // Quote.txt was replaced (the old one is Quote.bak now)
    std::string Notes;    // the rows skipped or passed over, one message per file; may be empty
    std::string Result;   // what was written, or why nothing was
};

// Writes Quote.txt of `paths` for the request. Nothing is written over the old Quote.txt until the
// new one is complete: it is built in a temporary file that is then renamed.
ImportOutcome ImportChains(const ImportRequest& request, const FilePaths& paths);
