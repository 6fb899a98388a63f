#include "core/text/CommandLine.h"

#include <algorithm>

#include "core/Version.h"
#include "core/numbers/NumberText.h"

CommandOption FlagOption(std::string name, std::string shortName, std::string help, bool& target)
{
    return {std::move(name), std::move(shortName), "", std::move(help),
            [&target](const std::string&) -> std::optional<std::string> {
                target = true;
                return std::nullopt;
            }};
}

CommandOption TextOption(std::string name, std::string valueName, std::string help, std::string& target)
{
    return {std::move(name), "", std::move(valueName), std::move(help),
            [&target](const std::string& value) -> std::optional<std::string> {
                if (value.empty()) return "needs a value";
                target = value;
                return std::nullopt;
            }};
}

CommandOption CountOption(std::string name, std::string valueName, std::string help, int& target, int lowest)
{
    return {std::move(name), "", std::move(valueName), std::move(help),
            [&target, lowest](const std::string& value) -> std::optional<std::string> {
                const std::optional<std::int32_t> count = ParseInteger(value);
                if (!count || *count < lowest)
                    return "wants a whole number of at least " + std::to_string(lowest) + ", not '" + value + "'";
                target = *count;
                return std::nullopt;
            }};
}

namespace {

const CommandOption* FindOption(const std::vector<CommandOption>& options, const std::string& name)
{
    const auto found = std::find_if(options.begin(), options.end(), [&name](const CommandOption& option) {
        return option.Name == name || (!option.Short.empty() && option.Short == name);
    });
    return found == options.end() ? nullptr : &*found;
}

} // namespace

std::optional<std::string> ReadCommandLine(const std::vector<CommandOption>& options,
                                           const std::vector<std::string>& arguments)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t equals = argument.starts_with("--") ? argument.find('=') : std::string::npos;
        const std::string name = argument.substr(0, equals);
        const CommandOption* option = FindOption(options, name);
        if (!option) {
            if (!argument.starts_with("-")) return "unexpected argument '" + argument + "'";
            return "unknown option " + name;
        }
        std::string value;
        if (option->ValueName.empty()) {
            if (equals != std::string::npos) return name + " takes no value";
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return name + " needs a value (" + option->ValueName + ")";
        }
        if (auto refused = option->Take(value)) return name + " " + *refused;
    }
    return std::nullopt;
}

std::string OptionHelpLines(const std::vector<CommandOption>& options)
{
    const auto heading = [](const CommandOption& option) {
        std::string text = option.Short.empty() ? "    " : option.Short + ", ";
        text += option.Name;
        if (!option.ValueName.empty()) text += " " + option.ValueName;
        return text;
    };
    std::size_t width = 0;
    for (const CommandOption& option : options) width = std::max(width, heading(option).size());
    std::string lines;
    for (const CommandOption& option : options) {
        const std::string head = heading(option);
        lines += "  " + head + std::string(width - head.size() + 2, ' ') + option.Help + "\n";
    }
    return lines;
}

std::string CommandHelpText(const CommandUsage& usage, const std::vector<CommandOption>& options)
{
    std::string text = "Usage: " + usage.Program + " " + usage.Synopsis + "\n";
    if (!usage.About.empty()) text += "\n" + usage.About + "\n";
    text += "\nOptions:\n" + OptionHelpLines(options);
    if (!usage.Epilogue.empty()) text += "\n" + usage.Epilogue;
    return text;
}

std::optional<int> ReadCommandLineOrEnd(const CommandUsage& usage, std::vector<CommandOption> options,
                                        const std::vector<std::string>& arguments, std::FILE* out,
                                        std::FILE* errors)
{
    constexpr int ExitUsage = 2;
    bool help = false;
    bool version = false;
    options.push_back(FlagOption("--help", "-h", "print this help and exit", help));
    options.push_back(FlagOption("--version", "-V", "print the version and exit", version));
    if (const std::optional<std::string> refused = ReadCommandLine(options, arguments)) {
        std::fprintf(errors, "%s: %s (see %s --help)\n", usage.Program.c_str(), refused->c_str(),
                     usage.Program.c_str());
        return ExitUsage;
    }
    if (help) {
        std::fputs(CommandHelpText(usage, options).c_str(), out);
        return 0;
    }
    if (version) {
        const std::string program = usage.Program.substr(0, usage.Program.find(' '));
        std::fprintf(out, "%s %s\n", program.c_str(), ProgramVersionText);
        return 0;
    }
    return std::nullopt;
}

