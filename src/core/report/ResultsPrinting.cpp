#include "core/report/ResultsPrinting.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/run/ProgressFile.h"

namespace {

constexpr const char* PrintFontName = "Courier New";
constexpr int PrintFontPoints = 10;
const std::string LeftMargin(10, ' ');
constexpr char FormFeed = '\f';

// Reads a file line by line without holding all of it: a results report of a long pass is large.
class LineReader {
public:
    explicit LineReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb"), &std::fclose)
    {
        // A directory opens like a file and fails at the first read: it counts as not opened, so
        // that it is not reported as an empty report printed.
        if (!file_) return;
        const int first = std::getc(file_.get());
        if (first == EOF && std::ferror(file_.get()))
            file_.reset();
        else if (first != EOF)
            std::ungetc(first, file_.get());
    }

    bool IsOpen() const { return file_ != nullptr; }

    // The next line without its end (CR LF, lone CR or lone LF), at most MaxPrintedLineLength
    // characters of it; `length` is its whole length. False at the end of the file.
    bool Next(std::string& line, std::size_t& length)
    {
        line.clear();
        length = 0;
        int c = std::getc(file_.get());
        if (c == EOF) return false;
        while (c != EOF && c != '\r' && c != '\n') {
            if (length++ < MaxPrintedLineLength) line += static_cast<char>(c);
            c = std::getc(file_.get());
        }
        if (c == '\r') {
            const int next = std::getc(file_.get());
            if (next != '\n' && next != EOF) std::ungetc(next, file_.get());
        }
        return true;
    }

private:
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file_;
};

// Walks the report as it is paged: `visit(line, length, isFormFeed, beginsPage)` for each line. The first line
// begins a page, and so does every line after a form-feed line.
template <typename Visit>
void WalkPages(LineReader& report, Visit visit)
{
    bool pageOpen = false;
    std::string line;
    std::size_t length = 0;
    while (report.Next(line, length)) {
        const bool isFormFeed = !line.empty() && line.front() == FormFeed;
        visit(line, length, isFormFeed, !pageOpen);
        pageOpen = !isFormFeed;
    }
}

// A line longer than any report line is cut, and the printout says so on a line of its own: the
// cut line itself already runs past the paper's edge.
void PrintLine(Printer& printer, const std::string& line, std::size_t length)
{
    printer.PrintText(LeftMargin + line, true);
    if (length > line.size())
        printer.PrintText(LeftMargin + "[line cut: " + std::to_string(length) + " characters]", true);
}

void PrintHeading(Printer& printer, const Clock& clock, const std::string& title)
{
    printer.PrintText("", true);
    printer.PrintText(LeftMargin + "Printed " + FormatDateTime(clock.Now()), false);
    printer.PrintText(title, true);
    printer.PrintText("", true);
}

// Splits the shown block at control characters; a pair of them (CR LF) ends one line.
std::vector<std::string_view> InterimLines(std::string_view text)
{
    const auto isLineEnd = [](char c) { return static_cast<unsigned char>(c) < 32; };
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isLineEnd(text[i])) continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && isLineEnd(text[i + 1])) ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

} // namespace

bool PrintResults(const FilePaths& paths, std::int16_t& savedCount, Printer& printer, const Clock& clock)
{
    printer.SetFont(PrintFontName, PrintFontPoints, false);
    const auto progress = ReadProgressLine(paths.FnProgress);
    if (!progress) return false;
    if (const auto count = ParseSavedCountField(*progress)) savedCount = *count;
    LineReader results(paths.FnResults);
    if (!results.IsOpen()) return false;

    long pageNumber = 0;
    WalkPages(results, [&](const std::string& line, std::size_t length, bool isFormFeed, bool beginsPage) {
        if (beginsPage) {
            if (pageNumber > 0) printer.NewPage();
            ++pageNumber;
            PrintHeading(printer, clock,
                         "    Quillon results    Page " + std::to_string(pageNumber) + " of " +
                             std::to_string(savedCount));
        }
        if (!isFormFeed) PrintLine(printer, line, length);
    });
    printer.EndDoc();
    return true;
}

std::optional<long> CountResultsPages(const FilePaths& paths)
{
    LineReader results(paths.FnResults);
    if (!results.IsOpen()) return std::nullopt;
    long pages = 0;
    WalkPages(results, [&pages](const std::string&, std::size_t, bool, bool beginsPage) { pages += beginsPage; });
    return pages;
}

void PrintInterimBlock(std::string_view text, Printer& printer, const Clock& clock)
{
    printer.SetFont(PrintFontName, PrintFontPoints, false);
    PrintHeading(printer, clock, "     Quillon interim printout");
    for (const auto line : InterimLines(text)) printer.PrintText(LeftMargin + std::string(line), true);
    printer.EndDoc();
}
