#include <gtest/gtest.h>

#include <filesystem>

#include "support/RecordingPrinter.h"
#include "support/TemporaryDirectory.h"
#include "core/text/TextFile.h"
#include "core/report/ResultsPrinting.h"

namespace {

const std::string Margin(10, ' ');

std::vector<std::string> Heading(int page, int total)
{
    return {"", Margin + "Printed 2026-05-05 16:10:00    Quillon results    Page " + std::to_string(page) +
                    " of " + std::to_string(total),
            ""};
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

// Numbered pages and missing files are the print cases' (cases/cli/print-*), damaged reports the
// rows of cases/tables/printed-reports.tsv; here the page total.
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
