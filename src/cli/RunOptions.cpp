#include "cli/RunOptions.h"

const CommandUsage RunUsage{
    "quillon-cli run", "[OPTIONS]",
    "Runs the screener over the symbol list of the program directory, resuming where the last run\n"
    "stopped. On a terminal one status line is rewritten in place; otherwise each symbol gets a line\n"
    "with its outcome. A summary ends each pass.",
    "Exit status: 0 done, 1 the run could not start or go on, 2 usage error,\n"
    "130/143 interrupted (SIGINT/SIGTERM); running the same command again goes on where it stopped.\n"};

std::vector<CommandOption> RunOptionTable(RunOptions& o)
{
    return {
        TextOption("--dir", "DIR", "program directory (default: the directory of quillon-cli)", o.Directory),
        {"--source", "", "SOURCE", "local: replay Quote.txt; server: ask the quote server (default: the settings')",
         [&o](const std::string& value) -> std::optional<std::string> {
             if (value != "local" && value != "server") return "is local or server, not '" + value + "'";
             o.FromLocalFile = value == "local";
             return std::nullopt;
         }},
        CountOption("--passes", "N", "end after N passes, the resumed one included (default 1; 0: until stopped)",
                    o.Passes, 0),
        TimeOption("--now", "fixed date and time \"YYYY-MM-DD HH:MM:SS\" instead of the clock", o.Now),
        CountOption("--tick-ms", "MS", "timer period in milliseconds (default 100)", o.TickMilliseconds, 1),
        FlagOption("--alarm", "", "announce saved symbols with the terminal bell", o.Alarm),
        FlagOption("--quiet", "-q", "print only errors and the summary", o.Quiet),
        FlagOption("--verbose", "-v", "print every status text on a line of its own", o.Verbose),
        TextOption("--ca-file", "FILE", "also trust the certificate authorities in FILE (PEM) for HTTPS", o.CaFile),
    };
}
