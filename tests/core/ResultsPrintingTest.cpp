#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/RecordingPrinter.h"
#include "support/TemporaryDirectory.h"
#include "core/text/TextFile.h"
#include "core/report/ResultsPrinting.h"

namespace {

using namespace std::string_literals;

const std::string Margin(10, ' ');

std::vector<std::string> Heading(int page, int total)
{
    return {"", Margin + "Printed 2026-05-05 16:10:00    Quillon results    Page " + std::to_string(page) +
                    " of " + std::to_string(total),
            ""};
}

std::string Repeated(const std::string& text, int count)
{
    std::string repeated;
    for (int i = 0; i < count; ++i) repeated += text;
    return repeated;
}

// Page A, ten thousand empty pages... and page B.
std::vector<std::vector<std::string>> TenThousandPages()
{
    std::vector<std::vector<std::string>> pages(10001);
    pages.front() = {"A"};
    pages.back() = {"B"};
    return pages;
}

class ResultsPrintingTest : public ::testing::Test {
protected:
    ResultsPrintingTest() { paths = FilePaths::Build(dir.Path()); }

    void Files(const std::string& progress, const std::string& results)
    {
        ASSERT_TRUE(ReplaceFile(paths.FnProgress, progress));
        ASSERT_TRUE(ReplaceFile(paths.FnResults, results));
    }
    bool Print() { return PrintResults(paths, savedCount, printer, clock); }

    // The expected sheets: each page is its heading and its lines, pages joined by page ends.
    static std::vector<std::string> Pages(int total, const std::vector<std::vector<std::string>>& pages)
    {
        std::vector<std::string> sheets;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) sheets.emplace_back("<new page>");
            for (const auto& line : Heading(static_cast<int>(i) + 1, total)) sheets.push_back(line);
            for (const auto& line : pages[i]) sheets.push_back(Margin + line);
        }
        sheets.emplace_back("<end doc>");
        return sheets;
    }

    TemporaryDirectory dir;
    FilePaths paths;
    std::int16_t savedCount = 0;
    RecordingPrinter printer;
    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
};

} // namespace

// Numbered pages and missing files are the print cases' (cases/cli/print-*); here the edges.
TEST_F(ResultsPrintingTest, PageTotalComesFromTheProgressRecordAloneAndAnUnreadableOneKeepsTheCount)
{
    Files("7,1\r\n", "A\r\n\f\r\nB\r\n\f\r\n");
    ASSERT_TRUE(Print());
    EXPECT_EQ(printer.font, "Courier New/10");
    EXPECT_EQ(printer.output, Pages(7, {{"A"}, {"B"}}));

    savedCount = 4;
    printer.output.clear();
    Files("x,1\r\n", "A\r\n");
    ASSERT_TRUE(Print());
    EXPECT_EQ(savedCount, 4);
    EXPECT_EQ(printer.output, Pages(4, {{"A"}}));

    // A report that opens but cannot be read prints nothing.
    printer.output.clear();
    ASSERT_TRUE(RemoveFile(paths.FnResults));
    ASSERT_TRUE(std::filesystem::create_directory(paths.FnResults));
    EXPECT_FALSE(Print());
    EXPECT_TRUE(printer.output.empty());
}

// Whatever a damaged report holds, every line is printed as it stands after the margin (one past
// any report line's length cut, and said so), a page begins at each form-feed line and nowhere
// else, the document is ended and the report is kept.
TEST_F(ResultsPrintingTest, DamagedReportsPrintEveryLineAsItStands)
{
    const std::string huge(10'000'000, 'w');
    const std::string cut = huge.substr(0, MaxPrintedLineLength);
    const std::string cutNote = "[line cut: 10000000 characters]";
    const struct {
        const char* name;
        std::string results;
        std::vector<std::vector<std::string>> pages;
    } rows[] = {
        {"no form feed at all", "A\r\nB\r\nC", {{"A", "B", "C"}}},
        {"a form feed inside a line", "A\fB\r\nC\f\r\n", {{"A\fB", "C\f"}}},
        {"a form-feed line with text behind it", "A\r\n\fjunk\r\nB\r\n", {{"A"}, {"B"}}},
        {"NUL and bytes above 127", "A\0B\r\n\xff\xfe\r\n\f\r\n\0\r\n"s, {{"A\0B"s, "\xff\xfe"}, {"\0"s}}},
        {"lone CR and lone LF", "A\rB\nC\n\rD", {{"A", "B", "C", "", "D"}}},
        {"only line ends", "\r\n\n\r", {{"", "", ""}}},
        {"a 10 MB line", "A\r\n" + huge + "\r\n\f\r\n", {{"A", cut, cutNote}}},
        {"a 10 MB line without a line end", huge, {{cut, cutNote}}},
        {"ten thousand form feeds between two blocks", "A\r\n" + Repeated("\f\r\n", 10000) + "B\r\n", TenThousandPages()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        printer.output.clear();
        Files("2,1\r\n", row.results);
        ASSERT_TRUE(Print());
        EXPECT_TRUE(printer.output == Pages(2, row.pages)); // not printed: the lines may be huge
        EXPECT_TRUE(ReadWholeFile(paths.FnResults) == row.results) << "the report was changed";
    }
}

// The count asked about before printing is the count printed, form feeds anywhere.
TEST_F(ResultsPrintingTest, PagesAreCountedAsTheyArePrinted)
{
    for (const std::string& report : {""s, "a\r\n"s, "\f\r\n"s, "a\r\n\f\r\n"s, "\f\r\na\r\n"s, "a\r\n\f\r\nb"s,
                                      "a\r\n\f\r\n\f\r\nb\r\n\f"s, Repeated("\f\r\n", ManyPages + 1)}) {
        printer.output.clear();
        Files("2,2\r\n", report);
        ASSERT_TRUE(Print());
        const long newPages = std::count(printer.output.begin(), printer.output.end(), "<new page>");
        EXPECT_EQ(CountResultsPages(paths), printer.output.size() > 1 ? newPages + 1 : 0)
            << testing::PrintToString(report.substr(0, 20));
    }
}

namespace {

class InterimPrintoutTest : public ::testing::Test {
protected:
    std::vector<std::string> Printed(std::string_view text)
    {
        PrintInterimBlock(text, printer, clock);
        EXPECT_EQ(printer.font, "Courier New/10");
        return printer.output;
    }
    static std::vector<std::string> Sheet(const std::vector<std::string>& lines)
    {
        std::vector<std::string> sheet{"", Margin + "Printed 2026-05-05 16:10:00     Quillon interim printout",
                                       ""};
        for (const auto& line : lines) sheet.push_back(Margin + line);
        sheet.emplace_back("<end doc>");
        return sheet;
    }
    RecordingPrinter printer;
    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
};

} // namespace

TEST_F(InterimPrintoutTest, SplitsAtControlCharactersTakingCrLfAsOne)
{
    EXPECT_EQ(Printed(""), Sheet({}));
    printer.output.clear();
    EXPECT_EQ(Printed("Saved 1\r\n\r\nNotes:\r\n"), Sheet({"Saved 1", "", "Notes:"}));
    printer.output.clear();
    EXPECT_EQ(Printed("A\rB\nC\r\nunended"), Sheet({"A", "B", "C", "unended"}));
}
