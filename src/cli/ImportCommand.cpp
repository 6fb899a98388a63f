#include "cli/ImportCommand.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

#include "cli/CliCommand.h"
#include "core/SharedState.h"
#include "core/chains/ChainImport.h"
#include "core/settings/Startup.h"
#include "qt/SystemClock.h"

namespace {

constexpr int ExitWritten = 0;
constexpr int ExitNotWritten = 1;
constexpr int ExitUsage = 2;

constexpr const char* ImportUsageText =
    "Usage: quillon-cli import [--dir DIR] --chains FILE [--layout cboe|generic|auto]\n"
    "                          [--stocks FILE] [--snapshot 1545|eod] [--now \"YYYY-MM-DD HH:MM:SS\"]\n"
    "\n"
    "Writes Quote.txt of DIR (default: the directory of quillon-cli) from an option chain file, for\n"
    "the symbols of its symbol list, so that `quillon-cli run --source local` screens them.\n"
    "  --chains FILE    option chains: the exchanges' end-of-day summary layout (cboe) or one row\n"
    "                   per option with symbol, expiration, strike, type, last, bid, ask, volume\n"
    "                   and open interest (generic); auto tells them apart (default)\n"
    "  --stocks FILE    stock figures per symbol (columns as data/demo-market.csv); without it the\n"
    "                   last sale is the midpoint of the underlying's bid and ask in the chain file\n"
    "  --snapshot WHEN  quotes of the cboe layout taken at 15:45 (default) or at the close (eod)\n"
    "  --now TIME       the quote date and the option calendar (default: now); give the same\n"
    "                   --now to the run that screens the quotes\n";

struct ImportOptions {
    std::string Directory;
    ImportRequest Request;
    std::optional<LocalDateTime> Now;
    bool Help = false;
};

// The option's value into `options`; the usage error when it does not read.
std::optional<std::string> Apply(ImportOptions& options, const std::string& name, const std::string& value)
{
    ChainFileRequest& chains = options.Request.Chains;
    if (name == "--dir") options.Directory = value;
    else if (name == "--chains") chains.Path = value;
    else if (name == "--stocks") options.Request.StocksPath = value;
    else if (name == "--layout") {
        const auto layout = ParseChainLayout(value);
        if (!layout) return "--layout is cboe, generic or auto: " + value;
        chains.Layout = *layout;
    } else if (name == "--snapshot") {
        const auto snapshot = ParseChainSnapshot(value);
        if (!snapshot) return "--snapshot is 1545 or eod: " + value;
        chains.Snapshot = *snapshot;
    } else if (name == "--now") {
        options.Now = ParseDateTime(value);
        if (!options.Now) return "--now wants \"YYYY-MM-DD HH:MM:SS\": " + value;
    } else {
        return "unknown option " + name;
    }
    return std::nullopt;
}

std::optional<std::string> Parse(const std::vector<std::string>& arguments, ImportOptions& options)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        std::string value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return name + " needs a value";
        }
        if (auto error = Apply(options, name, value)) return error;
    }
    if (options.Request.Chains.Path.empty() && !options.Help) return "--chains FILE is required";
    return std::nullopt;
}

} // namespace

int ImportCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::vector<std::string> arguments = CommandArguments(argc, argv);
    ImportOptions options;
    if (const auto error = Parse(arguments, options)) {
        std::fprintf(stderr, "quillon-cli import: %s\n\n%s", error->c_str(), ImportUsageText);
        return ExitUsage;
    }
    if (options.Help) {
        std::fputs(ImportUsageText, stdout);
        return ExitWritten;
    }
    const SystemClock systemClock;
    options.Request.Chains.Now = options.Now ? *options.Now : systemClock.Now();
    SharedState state(systemClock);
    const std::string directory =
        options.Directory.empty() ? QCoreApplication::applicationDirPath().toStdString() : options.Directory;
    PrepareSharedState(state, directory);
    // The settings only name the symbol file here; a file that cannot be written is the run's concern.
    static_cast<void>(LoadSettingsOrDefaults(state));
    options.Request.FnSym = state.Settings.FnSym.empty() ? state.Paths.DefaultFnSym : state.Settings.FnSym;

    const ImportOutcome outcome = ImportChains(options.Request, state.Paths);
    std::fputs(outcome.Notes.c_str(), stderr);
    std::fprintf(outcome.Written ? stdout : stderr, "%s%s", outcome.Result.c_str(),
                 outcome.Result.ends_with('\n') ? "" : "\n");
    return outcome.Written ? ExitWritten : ExitNotWritten;
}
