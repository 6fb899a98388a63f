#pragma once
// The options of `quillon-cli run`.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/quotes/Clock.h"

struct RunOptions {
    std::string Directory;              // empty: the executable's directory
    std::optional<bool> FromLocalFile;  // --source; nothing keeps the settings' choice
    int Passes = 1;                     // 0: until interrupted
    std::optional<LocalDateTime> Now;   // nothing: the system clock
    int TickMilliseconds = 100;
    std::string CaFile;                 // extra trusted certificate authorities (PEM) for HTTPS
    bool Alarm = false;
    bool Quiet = false;
    bool Help = false;
};

// Why the arguments were refused, for the user.
struct UsageError {
    std::string Text;
};

// Reads the arguments after "run". Values follow their option ("--dir DIR") or an "=" ("--dir=DIR").
std::variant<RunOptions, UsageError> ParseRunOptions(const std::vector<std::string>& arguments);

extern const char* const RunUsageText;
