#include "cli/PrintCommand.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/FilePaths.h"
#include "qt/PdfPrinter.h"
#include "qt/SystemClock.h"
#include "core/report/ResultsPrinting.h"

namespace {

constexpr const char* PrintUsageText =
    "Usage: quillon-cli print [--dir DIR] --pdf FILE [--now \"YYYY-MM-DD HH:MM:SS\"]\n"
    "Prints Results.txt of DIR (default: the executable's directory) into the PDF file FILE:\n"
    "one page per saved symbol, the page total taken from Progress.---.\n";

struct PrintOptions {
    std::string Directory;
    std::string PdfFile;
    std::optional<LocalDateTime> Now;
    bool Help = false;
};

// Nothing when the arguments are unusable; the reason is on stderr then.
std::optional<PrintOptions> ParsePrintOptions(const std::vector<std::string>& arguments)
{
    PrintOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        if (name != "--dir" && name != "--pdf" && name != "--now") {
            std::fprintf(stderr, "quillon-cli print: unknown option %s\n", name.c_str());
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                std::fprintf(stderr, "quillon-cli print: %s needs a value\n", name.c_str());
                return std::nullopt;
            }
            value = arguments[++i];
        }
        if (name == "--dir") options.Directory = *value;
        if (name == "--pdf") options.PdfFile = *value;
        if (name == "--now") {
            options.Now = ParseDateTime(*value);
            if (!options.Now) {
                std::fprintf(stderr, "quillon-cli print: --now wants \"YYYY-MM-DD HH:MM:SS\"\n");
                return std::nullopt;
            }
        }
    }
    if (options.PdfFile.empty() && !options.Help) {
        std::fprintf(stderr, "quillon-cli print: --pdf FILE is required\n");
        return std::nullopt;
    }
    return options;
}

// Fonts and PDF writing need a GUI application, but not a screen.
void UseOffscreenWithoutDisplay()
{
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!hasDisplay && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// The input that stopped the printout: the progress record is read first, then the report.
std::string UnreadableInput(const FilePaths& paths)
{
    const auto readable = [](const std::string& path) {
        const QFileInfo file(QString::fromStdString(path));
        return file.isFile() && file.isReadable();
    };
    if (!readable(paths.FnProgress)) return paths.FnProgress;
    if (!readable(paths.FnResults)) return paths.FnResults;
    return paths.FnProgress + " or " + paths.FnResults;
}

} // namespace

int PrintCommand(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + std::min(argc, 2), argv + argc);
    const auto options = ParsePrintOptions(arguments);
    if (!options) {
        std::fputs(PrintUsageText, stderr);
        return 2;
    }
    if (options->Help) {
        std::fputs(PrintUsageText, stdout);
        return 0;
    }
    UseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    const QString directory = options->Directory.empty() ? QCoreApplication::applicationDirPath()
                                                         : QString::fromStdString(options->Directory);
    const FilePaths paths = FilePaths::Build(directory.toStdString());
    const SystemClock systemClock;
    const FixedClock fixedClock(options->Now.value_or(LocalDateTime{}));
    const Clock& clock = options->Now ? static_cast<const Clock&>(fixedClock) : systemClock;

    const QString pdfFile = QString::fromStdString(options->PdfFile);
    std::int16_t savedCount = 0;
    bool printed = false;
    {
        PdfPrinter printer(pdfFile);
        printed = PrintResults(paths, savedCount, printer, clock);
        // Without EndDoc the writer leaves a stray empty file behind.
        if (!printed) printer.EndDoc();
    }
    if (!printed) {
        QFile::remove(pdfFile);
        std::fprintf(stderr, "Quillon: nothing to print: %s cannot be read.\n", UnreadableInput(paths).c_str());
        return 1;
    }
    if (!QFileInfo(pdfFile).isFile() || QFileInfo(pdfFile).size() == 0) {
        std::fprintf(stderr, "Quillon: cannot write %s.\n", qPrintable(pdfFile));
        return 1;
    }
    return 0;
}
