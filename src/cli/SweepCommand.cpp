#include "cli/SweepCommand.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "cli/CliCommand.h"
#include "cli/CommandDirectory.h"
#include "cli/TerminalProblemText.h"
#include "core/history/HistoryStore.h"
#include "core/history/IvStanding.h"
#include "core/insight/Sweep.h"
#include "core/quotes/Clock.h"
#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"
#include "core/text/CommandLine.h"
#include "qt/SystemClock.h"

namespace {

// A table row names this many of the symbols that join or leave; the count says the rest.
constexpr std::size_t NamedSymbols = 8;

const CommandUsage SweepUsage{
    "quillon-cli sweep", "[OPTIONS] CRITERION VALUES\n[OPTIONS] --all",
    "Replays Quote.txt of the program directory in memory with its settings, one criterion changed,\n"
    "and prints how many symbols each value saves and which join or leave against the current\n"
    "setting. It writes no file.",
    "Exit status: 0 done, 1 the symbol file or the quote cache cannot be used, 2 usage error.\n"};

struct SweepOptions {
    std::string Directory;
    std::optional<LocalDateTime> Now;
    const FilterCriterion* Criterion = nullptr;
    std::string IvRank; // the pseudo-criterion swept instead of Criterion
    std::vector<::Criterion> Values;
    bool All = false;
};

// CRITERION, then VALUES, each refused as soon as it does not read.
CommandOption SweepOperands(SweepOptions& o)
{
    return {"", "", "CRITERION VALUES",
            "a criterion (MinPE ... MinQVAP_QVAC, or MinIVRank, MaxIVRank: the IV rank from History.db,\n"
            "kept out of the settings file) and values 5,10,NA or 5:50:5 (NA: off)",
            [&o](const std::string& operand) -> std::optional<std::string> {
                if (!o.Criterion && o.IvRank.empty()) {
                    if (IsIvRankCriterion(operand)) o.IvRank = operand;
                    else o.Criterion = FindCriterion(operand);
                    if (!o.Criterion && o.IvRank.empty()) return "no criterion is called " + operand;
                    return std::nullopt;
                }
                if (!o.Values.empty()) return "unexpected argument '" + operand + "'";
                const auto values = ParseSweepValues(operand);
                if (!values) return "VALUES is a list such as 5,10,NA or a range such as 5:50:5, not '" + operand + "'";
                o.Values = *values;
                return std::nullopt;
            }};
}

std::vector<CommandOption> SweepOptionTable(SweepOptions& o)
{
    return {
        SweepOperands(o),
        TextOption("--dir", "DIR", "program directory (default: the directory of quillon-cli)", o.Directory),
        TimeOption("--now", "date and time the option expirations count from (default: the clock)", o.Now),
        FlagOption("--all", "", "for every criterion in force, the symbols saved once it is off", o.All),
    };
}

// The fault of operands that were each read but do not make a sweep together; nothing when they do.
std::optional<std::string> SweepOperandsFault(const SweepOptions& options)
{
    const bool anyOperand = options.Criterion != nullptr || !options.IvRank.empty();
    if (options.All == anyOperand) return "give either CRITERION VALUES or --all";
    if (anyOperand && options.Values.empty()) return "give one CRITERION and one list or range of VALUES";
    return std::nullopt;
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
    SweepOptions options;
    if (const auto ended = ReadCommandLineOrEnd(SweepUsage, SweepOptionTable(options), CommandArguments(argc, argv)))
        return *ended;
    if (const auto fault = SweepOperandsFault(options)) return UsageError(SweepUsage, *fault);
    QCoreApplication app(argc, argv);
    const std::optional<std::string> directory = CommandDirectory(SweepUsage.Program, options.Directory);
    if (!directory) return ExitCannotGoOn;
    const FilePaths paths = FilePaths::Build(*directory);
    UserSettings settings = ReadSettingsOverDefaults(paths.FnSettings);
    if (settings.FnSym.empty()) settings.FnSym = paths.DefaultFnSym;

    HistoryStore history;
    if (const auto failure = options.IvRank.empty() ? std::nullopt : history.OpenExisting(paths.FnHistory)) {
        std::fprintf(stderr, "quillon-cli sweep: %s\n", failure->c_str());
        return ExitCannotGoOn;
    }
    const LocalDateTime now = options.Now.value_or(SystemClock().Now());
    std::string problem;
    std::optional<QuoteSnapshot> snapshot = ReadQuoteSnapshot(settings.FnSym, paths.FnQuote, now, problem, TerminalProblemText);
    if (!snapshot) {
        std::fprintf(stderr, "quillon-cli sweep: %s\n", problem.c_str());
        return ExitCannotGoOn;
    }
    std::printf("%d symbols, %d with quotes in %s\n", static_cast<int>(snapshot->Symbols.size()),
                snapshot->WithQuotes, paths.FnQuote.c_str());
    if (options.All) {
        PrintRows(SweepCriteriaOff(*snapshot, settings), "criterion", true);
    } else if (!options.IvRank.empty()) {
        const std::string date = FormatDate(now);
        const VolatilitiesBySymbol pastYear = PastYearOfAll(history, date);
        const auto rankOf = [&](const ReplayedSymbol& symbol) {
            return StandingOfDay(pastYear, HistoryDayOf(*symbol.Quote, symbol.Symbol, date)).Rank;
        };
        PrintRows(SweepIvRank(*snapshot, settings, options.IvRank, options.Values, rankOf), options.IvRank.c_str(),
                  false);
    } else {
        PrintRows(SweepCriterion(*snapshot, settings, *options.Criterion, options.Values),
                  std::string(options.Criterion->Name).c_str(), false);
    }
    return ExitDone;
}
