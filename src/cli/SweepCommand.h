#pragma once
// quillon-cli sweep: what-if counts over the quote cache. Writes no file.

#include <string>
#include <vector>

// `arguments` follow "sweep"; `defaultDirectory` serves when --dir is not given. The exit status.
int SweepCommand(const std::vector<std::string>& arguments, const std::string& defaultDirectory);
