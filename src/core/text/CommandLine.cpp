#include "core/text/CommandLine.h"

#include <algorithm>
#include <iterator>

#include "core/Version.h"
#include "core/numbers/NumberText.h"
#include "core/text/Ascii.h"

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

CommandOption TimeOption(std::string name, std::string help, std::optional<LocalDateTime>& target)
{
    return {std::move(name), "", "TIME", std::move(help),
            [&target](const std::string& value) -> std::optional<std::string> {
                target = ParseDateTime(value);
                if (!target) return "wants \"YYYY-MM-DD HH:MM:SS\", not '" + value + "'";
                return std::nullopt;
            }};
}

namespace {

bool IsOperands(const CommandOption& option)
{
    return option.Name.empty();
}

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
    const auto operands = std::find_if(options.begin(), options.end(), IsOperands);
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        // "-" alone names standard input or output by custom, and "-5" is a number: operands too.
        const bool looksLikeOption = argument.size() > 1 && argument[0] == '-' && !IsAsciiDigit(argument[1]);
        if (optionsEnded || !looksLikeOption) {
            if (operands == options.end()) return "unexpected argument '" + argument + "'";
            if (auto refused = operands->Take(argument)) return refused;
            continue;
        }
        const std::size_t equals = argument.starts_with("--") ? argument.find('=') : std::string::npos;
        const std::string name = argument.substr(0, equals);
        const CommandOption* option = FindOption(options, name);
        if (!option) return "unknown option " + name;
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
        if (IsOperands(option)) return option.ValueName;
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
    std::string text;
    for (std::size_t start = 0; start < usage.Synopsis.size();) {
        const std::size_t end = std::min(usage.Synopsis.find('\n', start), usage.Synopsis.size());
        text += (text.empty() ? "Usage: " : "       ") + usage.Program + " " + usage.Synopsis.substr(start, end - start) + "\n";
        start = end + 1;
    }
    if (!usage.About.empty()) text += "\n" + usage.About + "\n";
    std::vector<CommandOption> operands;
    std::vector<CommandOption> named;
    std::partition_copy(options.begin(), options.end(), std::back_inserter(operands), std::back_inserter(named),
                        IsOperands);
    if (!operands.empty()) text += "\nArguments:\n" + OptionHelpLines(operands);
    text += "\nOptions:\n" + OptionHelpLines(named);
    if (!usage.Epilogue.empty()) text += "\n" + usage.Epilogue;
    return text;
}

int UsageError(const CommandUsage& usage, const std::string& fault, std::FILE* errors)
{
    constexpr int ExitUsage = 2;
    std::fprintf(errors, "%s: %s (see %s --help)\n", usage.Program.c_str(), fault.c_str(), usage.Program.c_str());
    return ExitUsage;
}

std::optional<int> ReadCommandLineOrEnd(const CommandUsage& usage, std::vector<CommandOption> options,
                                        const std::vector<std::string>& arguments, std::FILE* out,
                                        std::FILE* errors)
{
    bool help = false;
    bool version = false;
    options.push_back(FlagOption("--help", "-h", "print this help and exit", help));
    options.push_back(FlagOption("--version", "-V", "print the version and exit", version));
    if (const std::optional<std::string> refused = ReadCommandLine(options, arguments))
        return UsageError(usage, *refused, errors);
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

