#pragma once
// The options of `quillon-cli run`.

#include <optional>
#include <string>
#include <vector>

#include "core/quotes/Clock.h"
#include "core/text/CommandLine.h"

struct RunOptions {
    std::string Directory;              // empty: the executable's directory
    std::optional<bool> FromLocalFile;  // --source; nothing keeps the settings' choice
    int Passes = 1;                     // 0: until interrupted
    std::optional<LocalDateTime> Now;   // nothing: the system clock
    int TickMilliseconds = 100;
    std::string CaFile;                 // extra trusted certificate authorities (PEM) for HTTPS
    bool Alarm = false;
    bool Quiet = false;                 // only errors and the summary
    bool Verbose = false;               // every status text on a line of its own
};

// The options of `run`, each writing into `options`.
std::vector<CommandOption> RunOptionTable(RunOptions& options);

extern const CommandUsage RunUsage;
