#include "cli/CommandDirectory.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>

std::optional<std::string> CommandDirectory(const std::string& command, const std::string& dirOption)
{
    if (dirOption.empty()) return QCoreApplication::applicationDirPath().toStdString();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(dirOption, error);
    if (std::filesystem::is_directory(status)) return dirOption;
    const char* problem = std::filesystem::exists(status) ? "is not a directory" : "does not exist";
    std::fprintf(stderr, "%s: the program directory %s %s (--dir)\n", command.c_str(), dirOption.c_str(), problem);
    return std::nullopt;
}
