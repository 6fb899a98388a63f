#pragma once
// One command of quillon-cli. Each command builds its own Qt application from the whole command
// line (printing needs a QGuiApplication, the run a QCoreApplication), so it gets argc and argv
// with argv[1] its own name.

#include <algorithm>
#include <string>
#include <vector>

struct CliCommand {
    const char* Name;
    const char* Summary; // one line in `quillon-cli --help`
    int (*Run)(int argc, char** argv);
};

// The words after the command's name.
inline std::vector<std::string> CommandArguments(int argc, char** argv)
{
    return {argv + std::min(argc, 2), argv + argc};
}
