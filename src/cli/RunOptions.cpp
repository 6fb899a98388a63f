#include "cli/RunOptions.h"

#include <functional>
#include <map>

#include "core/numbers/NumberText.h"

const char* const RunUsageText =
    "Usage: quillon-cli run [--dir DIR] [--source local|server] [--passes N]\n"
    "                       [--now \"YYYY-MM-DD HH:MM:SS\"] [--tick-ms MS] [--alarm] [--quiet]\n"
    "                       [--ca-file FILE]\n"
    "\n"
    "Runs the screener over the symbol list of the program directory, resuming where the last\n"
    "run stopped.\n"
    "  --dir DIR        program directory (default: the directory of quillon-cli)\n"
    "  --source SOURCE  local: replay Quote.txt; server: ask the quote server\n"
    "                   (default: as the settings say)\n"
    "  --passes N       end after N completed passes, the resumed one included (default 1;\n"
    "                   0 runs until interrupted)\n"
    "  --now TIME       fixed date and time instead of the clock\n"
    "  --tick-ms MS     timer period in milliseconds (default 100)\n"
    "  --alarm          announce saved symbols with a bell\n"
    "  --quiet          no status lines\n"
    "  --ca-file FILE   also trust the certificate authorities in FILE (PEM) for HTTPS\n"
    "Exit status: 0 done, 1 the run could not start or go on, 2 usage error,\n"
    "130/143 interrupted (SIGINT/SIGTERM).\n";

namespace {

using Setter = std::function<std::optional<std::string>(RunOptions&, const std::string&)>;

std::optional<std::string> SetCount(int& target, const std::string& text, int lowest, const char* what)
{
    const std::optional<std::int32_t> value = ParseInteger(text);
    if (!value || *value < lowest) return std::string(what) + " must be a whole number of at least " +
                                          std::to_string(lowest) + ": " + text;
    target = *value;
    return std::nullopt;
}

const std::map<std::string, Setter>& ValueOptions()
{
    static const std::map<std::string, Setter> options{
        {"--dir",
         [](RunOptions& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--dir needs a directory";
             o.Directory = v;
             return std::nullopt;
         }},
        {"--source",
         [](RunOptions& o, const std::string& v) -> std::optional<std::string> {
             if (v != "local" && v != "server") return "--source is local or server: " + v;
             o.FromLocalFile = v == "local";
             return std::nullopt;
         }},
        {"--ca-file",
         [](RunOptions& o, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "--ca-file needs a file";
             o.CaFile = v;
             return std::nullopt;
         }},
        {"--passes", [](RunOptions& o, const std::string& v) { return SetCount(o.Passes, v, 0, "--passes"); }},
        {"--tick-ms",
         [](RunOptions& o, const std::string& v) { return SetCount(o.TickMilliseconds, v, 1, "--tick-ms"); }},
        {"--now",
         [](RunOptions& o, const std::string& v) -> std::optional<std::string> {
             o.Now = ParseDateTime(v);
             if (!o.Now) return "--now wants \"YYYY-MM-DD HH:MM:SS\": " + v;
             return std::nullopt;
         }},
    };
    return options;
}

} // namespace

std::variant<RunOptions, UsageError> ParseRunOptions(const std::vector<std::string>& arguments)
{
    RunOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.Help = true;
        } else if (argument == "--alarm") {
            options.Alarm = true;
        } else if (argument == "--quiet") {
            options.Quiet = true;
        } else {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            const auto option = ValueOptions().find(name);
            if (option == ValueOptions().end()) return UsageError{"unknown argument: " + argument};
            std::string value;
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return UsageError{name + " needs a value"};
            }
            if (auto error = option->second(options, value)) return UsageError{*error};
        }
    }
    return options;
}
