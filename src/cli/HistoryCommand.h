#pragma once
// `quillon-cli history import [--dir DIR] [--date YYYY-MM-DD] FILE...` fills History.db from
// earlier quote caches; `quillon-cli history show [--dir DIR] [--csv] SYMBOL` lists a symbol's
// stored days. Exit status: 0 done, 1 a file or the store could not be used, 2 usage error.

// The default for --dir is the executable's directory.
int HistoryCommand(int argc, char** argv);
