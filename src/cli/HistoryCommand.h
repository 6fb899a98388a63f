#pragma once
// `quillon-cli history import [--dir DIR] [--date YYYY-MM-DD] FILE...` fills History.db from
// earlier quote caches; `quillon-cli history show [--dir DIR] [--csv] SYMBOL` lists a symbol's
// stored days. Exit status: 0 done, 1 a file or the store could not be used, 2 usage error.

#include <string>
#include <vector>

// `arguments` follow "history"; `programDirectory` is the default for --dir.
int HistoryCommand(const std::vector<std::string>& arguments, const std::string& programDirectory);
