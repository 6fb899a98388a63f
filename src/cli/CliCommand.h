#pragma once
// One command of quillon-cli. Each command builds its own Qt application from the whole command
// line (printing needs a QGuiApplication, the run a QCoreApplication), so it gets argc and argv
// with argv[1] its own name.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

// Exit statuses shared by every command (2, a usage error, comes from the option tables).
inline constexpr int ExitDone = 0;
inline constexpr int ExitCannotGoOn = 1;

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

// Fonts, PDF writing and charts need a GUI application, but not a screen.
inline void UseOffscreenWithoutDisplay()
{
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!hasDisplay && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}
