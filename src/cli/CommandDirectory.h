#pragma once
// The program directory a quillon-cli command works in.

#include <optional>
#include <string>

// `dirOption` (--dir), else the executable's directory (needs the Qt application). Nothing when
// --dir names no directory: the reason, with the path, is on standard error then.
std::optional<std::string> CommandDirectory(const std::string& command, const std::string& dirOption);
