#include "cli/ImportCommand.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

#include "cli/CliCommand.h"
#include "cli/CommandDirectory.h"
#include "core/SharedState.h"
#include "core/chains/ChainImport.h"
#include "core/settings/Startup.h"
#include "core/text/CommandLine.h"
#include "qt/SystemClock.h"

namespace {

constexpr int ExitWritten = 0;
constexpr int ExitNotWritten = 1;

const CommandUsage ImportUsage{
    "quillon-cli import", "--chains FILE [OPTIONS]",
    "Writes Quote.txt of the program directory from an option chain file, for the symbols of its\n"
    "symbol list, so that `quillon-cli run --source local` screens them. The chain file is the\n"
    "exchanges' end-of-day summary layout (cboe) or one row per option with symbol, expiration,\n"
    "strike, type, last, bid, ask, volume and open interest (generic).",
    "Exit status: 0 Quote.txt written, 1 not written (the reason is on standard error), 2 usage error.\n"};

struct ImportOptions {
    std::string Directory;
    ImportRequest Request;
    std::optional<LocalDateTime> Now;
};

std::vector<CommandOption> ImportOptionTable(ImportOptions& o)
{
    return {
        TextOption("--dir", "DIR", "program directory (default: the directory of quillon-cli)", o.Directory),
        TextOption("--chains", "FILE", "the option chain file (required)", o.Request.Chains.Path),
        ChainLayoutOption(o.Request.Chains.Layout),
        TextOption("--stocks", "FILE", "stock figures per symbol (default: last sale from the chain's bid and ask)",
                   o.Request.StocksPath),
        ChainSnapshotOption(o.Request.Chains.Snapshot),
        TimeOption("--now", "quote date and option calendar (default: the clock); give the run the same", o.Now),
    };
}

} // namespace

int ImportCommand(int argc, char** argv)
{
    ImportOptions options;
    if (const auto ended = ReadCommandLineOrEnd(ImportUsage, ImportOptionTable(options), CommandArguments(argc, argv)))
        return *ended;
    if (options.Request.Chains.Path.empty()) return UsageError(ImportUsage, "--chains FILE is required");
    QCoreApplication app(argc, argv);
    const std::optional<std::string> directory = CommandDirectory(ImportUsage.Program, options.Directory);
    if (!directory) return ExitNotWritten;
    const SystemClock systemClock;
    options.Request.Chains.Now = options.Now.value_or(systemClock.Now());
    SharedState state(systemClock);
    PrepareSharedState(state, *directory);
    // The settings only name the symbol file here; a file that cannot be written is the run's concern.
    static_cast<void>(LoadSettingsOrDefaults(state));
    options.Request.FnSym = state.Settings.FnSym.empty() ? state.Paths.DefaultFnSym : state.Settings.FnSym;

    const ImportOutcome outcome = ImportChains(options.Request, state.Paths);
    std::fputs(outcome.Notes.c_str(), stderr);
    std::fprintf(outcome.Written ? stdout : stderr, "%s%s", outcome.Result.c_str(),
                 outcome.Result.ends_with('\n') ? "" : "\n");
    return outcome.Written ? ExitWritten : ExitNotWritten;
}
