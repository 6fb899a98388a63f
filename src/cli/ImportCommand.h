#pragma once
// `quillon-cli import`: real option chain files into the program directory's Quote.txt, so that a
// run from the local quote file screens them.

#include <string>
#include <vector>

// Needs a QCoreApplication (the default directory is the executable's). The exit status: 0 when Quote.txt was written, 1 when it was not (the reason is on stderr), 2
// for a usage error.
int ImportCommand(const std::vector<std::string>& arguments);
