#include "cli/SweepCommand.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "cli/CliCommand.h"
#include "core/insight/Sweep.h"
#include "core/quotes/Clock.h"
#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"
#include "qt/SystemClock.h"

namespace {

constexpr int ExitDone = 0;
constexpr int ExitCannotGoOn = 1;
constexpr int ExitUsage = 2;
// A table row names this many of the symbols that join or leave; the count says the rest.
constexpr std::size_t NamedSymbols = 8;

constexpr const char* SweepUsageText =
    "Usage: quillon-cli sweep [--dir DIR] [--now \"YYYY-MM-DD HH:MM:SS\"] CRITERION VALUES\n"
    "       quillon-cli sweep [--dir DIR] [--now \"YYYY-MM-DD HH:MM:SS\"] --all\n"
    "Replays Quote.txt of DIR in memory with its settings, one criterion changed, and prints how\n"
    "many symbols each value saves and which join or leave against the current setting.\n"
    "  CRITERION  a filter criterion: MinPE, MaxPE, ..., MinQVAC_QVAP, MinQVAP_QVAC\n"
    "  VALUES     a list 5,10,20 or a range 5:50:5; NA switches the criterion off\n"
    "  --all      for every criterion in force, the symbols saved once it is off\n"
    "  --dir DIR  program directory (default: the directory of quillon-cli)\n"
    "  --now TIME date and time the option expirations count from (default: the clock)\n"
    "Exit status: 0 done, 1 the symbol file or the quote cache cannot be used, 2 usage error.\n";

struct SweepOptions {
    std::string Directory;
    std::optional<LocalDateTime> Now;
    const FilterCriterion* Criterion = nullptr;
    std::vector<::Criterion> Values;
    bool All = false;
    bool Help = false;
};

// Nothing when the arguments are unusable; the reason is on stderr then.
std::optional<SweepOptions> ParseSweepOptions(const std::vector<std::string>& arguments)
{
    SweepOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.Help = true;
        } else if (argument == "--all") {
            options.All = true;
        } else if (argument == "--dir" || argument == "--now") {
            if (i + 1 >= arguments.size()) {
                std::fprintf(stderr, "quillon-cli sweep: %s needs a value\n", argument.c_str());
                return std::nullopt;
            }
            const std::string& value = arguments[++i];
            if (argument == "--dir") options.Directory = value;
            if (argument == "--now" && !(options.Now = ParseDateTime(value))) {
                std::fprintf(stderr, "quillon-cli sweep: --now wants \"YYYY-MM-DD HH:MM:SS\": %s\n", value.c_str());
                return std::nullopt;
            }
        } else if (argument.starts_with("--")) {
            std::fprintf(stderr, "quillon-cli sweep: unknown option %s\n", argument.c_str());
            return std::nullopt;
        } else {
            positional.push_back(argument);
        }
    }
    if (options.Help) return options;
    if (options.All != positional.empty()) {
        std::fputs("quillon-cli sweep: give either CRITERION VALUES or --all\n", stderr);
        return std::nullopt;
    }
    if (options.All) return options;
    if (positional.size() != 2) {
        std::fputs("quillon-cli sweep: give one CRITERION and one list or range of VALUES\n", stderr);
        return std::nullopt;
    }
    options.Criterion = FindCriterion(positional[0]);
    if (!options.Criterion) {
        std::fprintf(stderr, "quillon-cli sweep: no criterion is called %s\n", positional[0].c_str());
        return std::nullopt;
    }
    const auto values = ParseSweepValues(positional[1]);
    if (!values) {
        std::fprintf(stderr, "quillon-cli sweep: VALUES is a list such as 5,10,NA or a range such as 5:50:5: %s\n",
                     positional[1].c_str());
        return std::nullopt;
    }
    options.Values = *values;
    return options;
}

std::string SymbolsText(const std::vector<std::string>& symbols, char sign)
{
    std::string text;
    for (std::size_t i = 0; i < symbols.size() && i < NamedSymbols; ++i) text += sign + symbols[i] + " ";
    if (symbols.size() > NamedSymbols) text += "... ";
    return text;
}

void PrintRows(const std::vector<SweepRow>& rows, const char* firstHeader, bool nameColumn)
{
    std::printf("%-14s %9s %7s %7s  %s\n", firstHeader, "saved", "joined", "left", "symbols");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SweepRow& row = rows[i];
        const std::string label = i == 0 ? row.Value.DisplayText() + " (now)"
                                  : nameColumn ? std::string(row.Criterion) + " off"
                                               : row.Value.DisplayText();
        char counts[64];
        std::snprintf(counts, sizeof counts, " %9d %7zu %7zu  ", row.Saved, row.Joined.size(), row.Left.size());
        std::string line = (i == 0 && nameColumn ? std::string("current") : label);
        line.resize(std::max<std::size_t>(line.size(), 14), ' ');
        line += counts + SymbolsText(row.Joined, '+') + SymbolsText(row.Left, '-');
        std::puts(line.substr(0, line.find_last_not_of(' ') + 1).c_str());
    }
}

} // namespace

int SweepCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::vector<std::string> arguments = CommandArguments(argc, argv);
    const std::string defaultDirectory = QCoreApplication::applicationDirPath().toStdString();
    const std::optional<SweepOptions> options = ParseSweepOptions(arguments);
    if (!options) {
        std::fprintf(stderr, "\n%s", SweepUsageText);
        return ExitUsage;
    }
    if (options->Help) {
        std::fputs(SweepUsageText, stdout);
        return ExitDone;
    }
    const FilePaths paths = FilePaths::Build(options->Directory.empty() ? defaultDirectory : options->Directory);
    UserSettings settings;
    SetDefaults(settings);
    // A missing or damaged settings file leaves the defaults, as a run would use them.
    (void)ReadSettings(settings, paths.FnSettings);
    if (settings.FnSym.empty()) settings.FnSym = paths.DefaultFnSym;

    std::string problem;
    std::optional<QuoteSnapshot> snapshot =
        ReadQuoteSnapshot(settings.FnSym, paths.FnQuote, options->Now.value_or(SystemClock().Now()), problem);
    if (!snapshot) {
        std::fprintf(stderr, "quillon-cli sweep: %s\n", problem.c_str());
        return ExitCannotGoOn;
    }
    std::printf("%d symbols, %d with quotes in %s\n", static_cast<int>(snapshot->Symbols.size()),
                snapshot->WithQuotes, paths.FnQuote.c_str());
    if (options->All)
        PrintRows(SweepCriteriaOff(*snapshot, settings), "criterion", true);
    else
        PrintRows(SweepCriterion(*snapshot, settings, *options->Criterion, options->Values),
                  std::string(options->Criterion->Name).c_str(), false);
    return ExitDone;
}
