#include "cli/HistoryCommand.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

#include "cli/CliCommand.h"
#include "cli/CommandDirectory.h"
#include "core/history/HistoryStore.h"
#include "core/history/IvStanding.h"
#include "core/history/QuoteCacheImport.h"
#include "core/numbers/NumberText.h"
#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"
#include "core/text/CommandLine.h"

namespace {

const CommandUsage HistoryUsage{
    "quillon-cli history", "import [OPTIONS] FILE...\nshow [OPTIONS] SYMBOL",
    "import stores the symbols of earlier quote caches (Quote.txt, Quote.bak) in History.db of the\n"
    "program directory, each as of --date or else the day the file was last written; show lists a\n"
    "symbol's stored days with its IV rank and IV percentile over the last 52 weeks.",
    "Exit status: 0 done, 1 a file or the store could not be used, 2 usage error.\n"};

struct HistoryOptions {
    std::string Action; // "import" or "show"
    std::string Directory;
    std::optional<std::string> Date;
    bool Csv = false;
    std::vector<std::string> Operands; // the files of import, the symbol of show
};

// The action first, then what it works on.
CommandOption HistoryOperands(HistoryOptions& o)
{
    return {"", "", "import FILE... | show SYMBOL", "store quote caches, or list a symbol's stored days",
            [&o](const std::string& operand) -> std::optional<std::string> {
                if (!o.Action.empty()) {
                    o.Operands.push_back(operand);
                    return std::nullopt;
                }
                if (operand != "import" && operand != "show") return "unknown action '" + operand + "' (import or show)";
                o.Action = operand;
                return std::nullopt;
            }};
}

std::vector<CommandOption> HistoryOptionTable(HistoryOptions& o)
{
    return {
        HistoryOperands(o),
        TextOption("--dir", "DIR", "program directory (default: the directory of quillon-cli)", o.Directory),
        {"--date", "", "YYYY-MM-DD", "import: the day the quotes are of (default: the day FILE was last written)",
         [&o](const std::string& value) -> std::optional<std::string> {
             if (!ParseDateTime(value + " 00:00:00")) return "wants YYYY-MM-DD, not '" + value + "'";
             o.Date = value;
             return std::nullopt;
         }},
        FlagOption("--csv", "", "show: comma-separated values instead of a table", o.Csv),
    };
}

// What is missing for the action; nothing when it has what it works on.
std::optional<std::string> HistoryOperandsFault(const HistoryOptions& options)
{
    if (options.Action.empty()) return "give import FILE... or show SYMBOL";
    if (options.Action == "import" && options.Operands.empty()) return "import needs at least one FILE";
    if (options.Action == "show" && options.Operands.size() != 1) return "show takes one SYMBOL";
    return std::nullopt;
}

int Import(const HistoryOptions& options, const FilePaths& paths, HistoryStore& store)
{
    UserSettings settings;
    if (!ReadSettings(settings, paths.FnSettings))
        std::fprintf(stderr, "quillon-cli history: %s cannot be read, solving with the default settings\n",
                     paths.FnSettings.c_str());
    int status = 0;
    for (const std::string& file : options.Operands) {
        const std::optional<std::string> date = options.Date ? options.Date : FileDate(file);
        CacheImport import;
        if (date) import = ImportQuoteCache(file, *date, settings, store);
        else import.Failure = "Cannot open " + file + " for input.";
        if (import.Failure) {
            std::fprintf(stderr, "quillon-cli history: %s\n", import.Failure->c_str());
            status = 1;
            continue;
        }
        std::printf("%s: %d symbols stored as of %s, %d records without usable quotes passed over\n",
                    file.c_str(), import.Symbols, date->c_str(), import.Skipped);
    }
    return status;
}

std::string Percent(std::optional<double> value)
{
    return value ? FormatFixed(*value * 100, 1) : "";
}

std::string Figure(std::optional<double> value)
{
    return value ? FormatFixed(*value, 1) : "n/a";
}

int Show(const HistoryOptions& options, HistoryStore& store)
{
    const std::string& symbol = options.Operands.front();
    const std::vector<HistoryDay> days = store.Days(symbol);
    if (days.empty()) {
        std::fprintf(stderr, "quillon-cli history: no stored days of %s\n", symbol.c_str());
        return 1;
    }
    std::puts(options.Csv ? "date,last_sale,qvac,qvap,iv,iv_rank,iv_percentile"
                          : "date        last sale   QVAC %   QVAP %   IV %  IV rank  IV pct");
    for (const HistoryDay& day : days) {
        const std::optional<double> today = DayVolatility(day);
        const IvStanding standing = StandingOfDay(store, day);
        const std::string fields[] = {day.Date, FormatFixed(day.LastSale, 2), Percent(day.QVAC),
                                      Percent(day.QVAP), Percent(today)};
        if (options.Csv)
            std::printf("%s,%s,%s,%s,%s,%s,%s\n", fields[0].c_str(), fields[1].c_str(), fields[2].c_str(),
                        fields[3].c_str(), fields[4].c_str(),
                        standing.Rank ? FormatFixed(*standing.Rank, 1).c_str() : "",
                        standing.Percentile ? FormatFixed(*standing.Percentile, 1).c_str() : "");
        else
            std::printf("%-10s %10s %8s %8s %6s %8s %7s\n", fields[0].c_str(), fields[1].c_str(),
                        fields[2].c_str(), fields[3].c_str(), fields[4].c_str(),
                        Figure(standing.Rank).c_str(), Figure(standing.Percentile).c_str());
    }
    return 0;
}

} // namespace

int HistoryCommand(int argc, char** argv)
{
    HistoryOptions options;
    if (const auto ended =
            ReadCommandLineOrEnd(HistoryUsage, HistoryOptionTable(options), CommandArguments(argc, argv)))
        return *ended;
    if (const auto fault = HistoryOperandsFault(options)) return UsageError(HistoryUsage, *fault);
    QCoreApplication app(argc, argv);
    const std::optional<std::string> directory = CommandDirectory(HistoryUsage.Program, options.Directory);
    if (!directory) return 1;
    const FilePaths paths = FilePaths::Build(*directory);
    HistoryStore store;
    if (const std::optional<std::string> failure = store.Open(paths.FnHistory)) {
        std::fprintf(stderr, "quillon-cli history: %s\n", failure->c_str());
        return 1;
    }
    return options.Action == "import" ? Import(options, paths, store) : Show(options, store);
}
