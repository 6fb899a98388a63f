#include "cli/HistoryCommand.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

#include "cli/CliCommand.h"
#include "core/history/HistoryStore.h"
#include "core/history/IvStanding.h"
#include "core/history/QuoteCacheImport.h"
#include "core/numbers/NumberText.h"
#include "core/settings/FilePaths.h"
#include "core/settings/SettingsFile.h"

namespace {

constexpr const char* HistoryUsageText =
    "Usage: quillon-cli history import [--dir DIR] [--date YYYY-MM-DD] FILE...\n"
    "       quillon-cli history show [--dir DIR] [--csv] SYMBOL\n"
    "  import  stores the symbols of earlier quote caches (Quote.txt, Quote.bak) in DIR/History.db,\n"
    "          each as of --date or else the day the file was last written\n"
    "  show    lists the symbol's stored days with its IV rank and percentile\n";

struct HistoryOptions {
    std::string Action;
    std::string Directory;
    std::optional<std::string> Date;
    bool Csv = false;
    std::vector<std::string> Operands;
};

std::optional<HistoryOptions> ParseHistoryOptions(const std::vector<std::string>& arguments,
                                                  const std::string& programDirectory)
{
    HistoryOptions options;
    options.Directory = programDirectory;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--dir" || argument == "--date";
        if (takesValue && i + 1 == arguments.size()) {
            std::fprintf(stderr, "quillon-cli history: %s needs a value (see --help)\n", argument.c_str());
            return std::nullopt;
        }
        if (argument == "--dir") options.Directory = arguments[++i];
        else if (argument == "--date") options.Date = arguments[++i];
        else if (argument == "--csv") options.Csv = true;
        else if (argument.starts_with("-")) {
            std::fprintf(stderr, "quillon-cli history: unknown option %s (see --help)\n", argument.c_str());
            return std::nullopt;
        } else if (options.Action.empty()) options.Action = argument;
        else options.Operands.push_back(argument);
    }
    const bool usable = (options.Action == "import" && !options.Operands.empty()) ||
                        (options.Action == "show" && options.Operands.size() == 1);
    if (!usable) {
        std::fputs(HistoryUsageText, stderr);
        return std::nullopt;
    }
    return options;
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
        IvStanding standing;
        if (today)
            if (const std::optional<std::string> first = FirstDayOfYearEndingOn(day.Date))
                standing = StandingOf(*today, store.Volatilities(symbol, *first, day.Date));
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
    QCoreApplication app(argc, argv);
    const std::vector<std::string> arguments = CommandArguments(argc, argv);
    const std::string programDirectory = QCoreApplication::applicationDirPath().toStdString();
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            std::fputs(HistoryUsageText, stdout);
            return 0;
        }
    }
    const std::optional<HistoryOptions> options = ParseHistoryOptions(arguments, programDirectory);
    if (!options) return 2;
    const FilePaths paths = FilePaths::Build(options->Directory);
    HistoryStore store;
    if (const std::optional<std::string> failure = store.Open(paths.FnHistory)) {
        std::fprintf(stderr, "quillon-cli history: %s\n", failure->c_str());
        return 1;
    }
    return options->Action == "import" ? Import(*options, paths, store) : Show(*options, store);
}
