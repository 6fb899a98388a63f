// Damaged results reports as the print command meets them: every line is printed as it stands after
// the margin, a page begins at each form-feed line and nowhere else, and the document is ended.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/TextFile.h"
#include "report/ResultsPrinting.h"
#include "TemporaryDirectory.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// The printed sheets: per page its lines after the three-line heading, and the page numbers and
// totals the headings carried.
class SheetPrinter final : public Printer {
public:
    void SetFont(const std::string&, int, bool) override {}
    void PrintText(const std::string& text, bool endLine) override
    {
        pending_ += text;
        if (!endLine) return;
        if (pages.empty()) pages.emplace_back();
        pages.back().push_back(std::move(pending_));
        pending_.clear();
    }
    void NewPage() override { pages.emplace_back(); }
    void EndDoc() override { ++documents; }

    std::vector<Lines> pages;
    int documents = 0;

private:
    std::string pending_;
};

const std::string Margin(10, ' ');

std::string Heading(int page, int total)
{
    return Margin + "Printed 2026-05-05 16:10:00    Quillon results    Page " + std::to_string(page) + " of " +
           std::to_string(total);
}

class DamagedResultsTest : public ::testing::Test {
protected:
    DamagedResultsTest()
    {
        paths = FilePaths::Build(dir.Path());
        EXPECT_TRUE(ReplaceFile(paths.FnProgress, "2,1\r\n"));
    }

    // Prints `results`; the lines of each page without their heading, which is checked here.
    std::vector<Lines> Printed(const std::string& results)
    {
        EXPECT_TRUE(ReplaceFile(paths.FnResults, results));
        SheetPrinter printer;
        std::int16_t savedCount = 0;
        EXPECT_TRUE(PrintResults(paths, savedCount, printer, clock));
        EXPECT_EQ(printer.documents, 1);
        EXPECT_TRUE(ReadWholeFile(paths.FnResults) == results) << "the report was changed";
        std::vector<Lines> bodies;
        for (std::size_t page = 0; page < printer.pages.size(); ++page) {
            const Lines& lines = printer.pages[page];
            EXPECT_GE(lines.size(), 3u);
            if (lines.size() < 3) break;
            EXPECT_EQ(lines[0], "");
            EXPECT_EQ(lines[1], Heading(static_cast<int>(page) + 1, 2));
            EXPECT_EQ(lines[2], "");
            bodies.emplace_back(lines.begin() + 3, lines.end());
        }
        return bodies;
    }

    static Lines Margined(const Lines& lines)
    {
        Lines margined;
        for (const auto& line : lines) margined.push_back(Margin + line);
        return margined;
    }

    TemporaryDirectory dir;
    FilePaths paths;
    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
};

} // namespace

TEST_F(DamagedResultsTest, EveryLineIsPrintedAsItStandsAndOnlyFormFeedLinesBreakPages)
{
    const std::string huge(10'000'000, 'w');
    const struct {
        const char* name;
        std::string results;
        std::vector<Lines> pages;
    } rows[] = {
        {"no form feed at all", "A\r\nB\r\nC", {{"A", "B", "C"}}},
        {"a form feed inside a line", "A\fB\r\nC\f\r\n", {{"A\fB", "C\f"}}},
        {"a form-feed line with text behind it", "A\r\n\fjunk\r\nB\r\n", {{"A"}, {"B"}}},
        {"NUL and bytes above 127", "A\0B\r\n\xff\xfe\r\n\f\r\n\0\r\n"s, {{"A\0B"s, "\xff\xfe"}, {"\0"s}}},
        {"lone CR and lone LF", "A\rB\nC\n\rD", {{"A", "B", "C", "", "D"}}},
        {"only line ends", "\r\n\n\r", {{"", "", ""}}},
        {"a 10 MB line", "A\r\n" + huge + "\r\n\f\r\n", {{"A", huge}}},
        {"a 10 MB line without a line end", huge, {{huge}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<Lines> printed = Printed(row.results);
        ASSERT_EQ(printed.size(), row.pages.size());
        for (std::size_t page = 0; page < printed.size(); ++page)
            EXPECT_TRUE(printed[page] == Margined(row.pages[page])) << "page " << page + 1;
    }
}

TEST_F(DamagedResultsTest, TenThousandFormFeedsBetweenTwoBlocksGiveAPageEach)
{
    std::string results = "A\r\n";
    for (int i = 0; i < 10000; ++i) results += "\f\r\n";
    results += "B\r\n";
    const std::vector<Lines> printed = Printed(results);
    ASSERT_EQ(printed.size(), 10001u);
    EXPECT_EQ(printed.front(), Margined({"A"}));
    EXPECT_EQ(printed.back(), Margined({"B"}));
    for (std::size_t page = 1; page < 10000; ++page) ASSERT_TRUE(printed[page].empty()) << page;
}

TEST_F(DamagedResultsTest, AReportThatIsADirectoryPrintsNothing)
{
    std::filesystem::create_directory(paths.FnResults);
    SheetPrinter printer;
    std::int16_t savedCount = 0;
    EXPECT_FALSE(PrintResults(paths, savedCount, printer, clock));
    EXPECT_TRUE(printer.pages.empty());
    EXPECT_EQ(printer.documents, 0);
    EXPECT_TRUE(std::filesystem::is_directory(paths.FnResults));
}
