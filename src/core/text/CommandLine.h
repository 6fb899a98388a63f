#pragma once
// A program's command line as one table of options: each entry reads its own value and carries
// its one line of help, so the parser, `--help` and the usage errors cannot disagree.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/quotes/Clock.h"

// An entry without a name takes the operands: every argument that is not an option (and every one
// after "--"), one call of Take each, in order. Its ValueName names them in help ("FILE...").
struct CommandOption {
    std::string Name;      // "--dir"; empty for the operands
    std::string Short;     // "-V", or empty
    std::string ValueName; // shown after the name in help ("DIR"); empty for a flag, which takes no value
    std::string Help;      // one line
    // Takes the value ("" for a flag); the reason when the value is refused, said without the name
    // (an operand's reason is the whole line).
    std::function<std::optional<std::string>(const std::string& value)> Take;
};

// A flag that sets `target`.
CommandOption FlagOption(std::string name, std::string shortName, std::string help, bool& target);
// A text value that may not be empty.
CommandOption TextOption(std::string name, std::string valueName, std::string help, std::string& target);
// A whole number of at least `lowest`.
CommandOption CountOption(std::string name, std::string valueName, std::string help, int& target, int lowest);
// A date and time "YYYY-MM-DD HH:MM:SS".
CommandOption TimeOption(std::string name, std::string help, std::optional<LocalDateTime>& target);

// Reads `arguments` against `options`. A value follows its option ("--dir DIR") or an "="
// ("--dir=DIR"). Nothing when all were taken, else one line that names the argument at fault.
std::optional<std::string> ReadCommandLine(const std::vector<CommandOption>& options,
                                           const std::vector<std::string>& arguments);

// One line per option, names in one column and help in the next:
// "  -V, --version       print the version and exit".
std::string OptionHelpLines(const std::vector<CommandOption>& options);

// What `--help` says of a program or command besides its options.
struct CommandUsage {
    std::string Program;  // "quillon-cli run": the words that start it
    std::string Synopsis; // what follows them on the usage line, e.g. "[OPTIONS]"; a line per form
    std::string About;    // the paragraph between the usage line and the options
    std::string Epilogue; // after the options: exit status, files
};

// The whole `--help` text: usage lines, about, the operands' line, the options' lines (--help and
// --version among them), epilogue.
std::string CommandHelpText(const CommandUsage& usage, const std::vector<CommandOption>& options);

// A usage error found after the command line was read: one line on `errors` that names the fault
// and points at --help. Returns the exit status for it, 2.
int UsageError(const CommandUsage& usage, const std::string& fault, std::FILE* errors = stderr);

// Reads a command line with `-h/--help` and `-V/--version` added to `options`. Help goes to `out`
// (exit status 0), the version too ("quillon-cli 1.77", 0); a usage error is one line on `errors`
// that names the argument and points at --help (2). Nothing when the program is to go on.
std::optional<int> ReadCommandLineOrEnd(const CommandUsage& usage, std::vector<CommandOption> options,
                                        const std::vector<std::string>& arguments, std::FILE* out = stdout,
                                        std::FILE* errors = stderr);
