// quillon-cli print end to end: the results report of a program directory printed into a PDF,
// read back with pdftotext; the directories with nothing to print; the usage errors.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <string>

#include "support/TemporaryDirectory.h"
#include "BuiltProgram.h"
#include "core/text/TextFile.h"

namespace {

const char* const Now = "2026-12-04 15:30:00";
// PdfPrinter's page margin: 15 mm in points.
constexpr double PageMarginPoints = 15.0 / 25.4 * 72.0;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The reference results block with its symbol replaced, ended by its form-feed line.
std::string BlockFor(const std::string& symbol)
{
    std::string block = ReadWholeFile(QUILLON_TEST_DATA "/report/FullBlock.expected").value_or("");
    for (std::size_t at = block.find("QRX"); at != std::string::npos; at = block.find("QRX", at))
        block.replace(at, 3, symbol);
    return block + "\f\r\n";
}

// What pdftotext reads from `pdf` with `options`; empty when it fails.
QString PdfText(const QString& pdf, const QStringList& options)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word {
    double Left = -1;
    double Right = -1;
};

// The first occurrence of `text` as a word on each page, from pdftotext's bounding boxes.
QList<Word> WordOnEachPage(const QString& pdf, const QString& text)
{
    QList<Word> words;
    const QString boxes = PdfText(pdf, {QStringLiteral("-bbox")});
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\""
                                                 "[^>]*>%1</word>")
                                      .arg(QRegularExpression::escape(text)));
    for (const QString& page : boxes.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1)) {
        const QRegularExpressionMatch match = word.match(page);
        words << (match.hasMatch() ? Word{match.captured(1).toDouble(), match.captured(2).toDouble()} : Word{});
    }
    return words;
}

class PrintCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
    }
    ProgramEnd Print(const QStringList& extra = {})
    {
        return RunBuiltProgram("quillon-cli", QStringList{QStringLiteral("print"), QStringLiteral("--dir"), Q(directory.Path()),
                                                          QStringLiteral("--pdf"), Pdf(), QStringLiteral("--now"),
                                                          QLatin1String(Now)}
                                                  + extra);
    }
    QString Pdf() const { return Q(directory.File("results.pdf")); }

    TemporaryDirectory directory;
};

TEST_F(PrintCliTest, ThreeBlocksPrintAsThreeNumberedPagesAfterTheMargin)
{
    ASSERT_TRUE(ReplaceFile(directory.File("Results.txt"), BlockFor("AAA") + BlockFor("BBB") + BlockFor("CCC")));
    ASSERT_TRUE(ReplaceFile(directory.File("Progress.---"), "3,17\r\n"));
    const ProgramEnd end = Print();
    ASSERT_FALSE(end.Crashed);
    ASSERT_EQ(end.ExitCode, 0) << end.Errors.toStdString();

    QStringList pages = PdfText(Pdf(), {QStringLiteral("-layout")}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    ASSERT_EQ(pages.size(), 3);
    const char* symbols[] = {"AAA", "BBB", "CCC"};
    for (int n = 1; n <= 3; ++n) {
        const QString& page = pages[n - 1];
        const QString header = QStringLiteral("Printed %1    Quillon results    Page %2 of 3").arg(QLatin1String(Now)).arg(n);
        EXPECT_TRUE(page.contains(header)) << page.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Symbol....%1").arg(QLatin1String(symbols[n - 1])))) << n;
        EXPECT_TRUE(page.contains(QStringLiteral("OpnInt: Open Interest"))) << n; // the block's last line
        EXPECT_EQ(page.count(QStringLiteral("Quillon results")), 1) << n;
    }

    // Every line, the header's and the block's, starts ten character widths inside the margin.
    const QList<Word> saved = WordOnEachPage(Pdf(), QStringLiteral("Saved"));
    const QList<Word> printed = WordOnEachPage(Pdf(), QStringLiteral("Printed"));
    ASSERT_EQ(saved.size(), 3);
    ASSERT_EQ(printed.size(), 3);
    for (int n = 0; n < 3; ++n) {
        const double characterWidth = (saved[n].Right - saved[n].Left) / 5;
        ASSERT_GT(characterWidth, 0) << "no Saved line on page " << n + 1;
        EXPECT_NEAR((saved[n].Left - PageMarginPoints) / characterWidth, 10.0, 0.5) << "page " << n + 1;
        EXPECT_NEAR(printed[n].Left, saved[n].Left, 0.5) << "page " << n + 1;
    }
}

TEST_F(PrintCliTest, NothingToPrintEndsWithStatusOneAndNoFile)
{
    const struct {
        const char* name;
        bool results;
        bool progress;
        const char* named; // the file the message names
    } cases[] = {
        {"no results", false, true, "Results.txt"},
        {"no progress record", true, false, "Progress.---"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Q(directory.File("Results.txt")));
        QFile::remove(Q(directory.File("Progress.---")));
        if (c.results) {
            ASSERT_TRUE(ReplaceFile(directory.File("Results.txt"), BlockFor("AAA")));
        }
        if (c.progress) {
            ASSERT_TRUE(ReplaceFile(directory.File("Progress.---"), "1,1\r\n"));
        }
        const ProgramEnd end = Print();
        EXPECT_FALSE(end.Crashed);
        EXPECT_EQ(end.ExitCode, 1);
        const QString expected = QStringLiteral("Quillon: nothing to print: %1 cannot be read.").arg(Q(directory.File(c.named)));
        EXPECT_TRUE(end.Errors.split(QLatin1Char('\n')).contains(expected)) << end.Errors.toStdString();
        EXPECT_FALSE(QFile::exists(Pdf()));
    }
}

TEST_F(PrintCliTest, AnEmptyReportPrintsOneBlankPage)
{
    ASSERT_TRUE(ReplaceFile(directory.File("Results.txt"), ""));
    ASSERT_TRUE(ReplaceFile(directory.File("Progress.---"), "0,1\r\n"));
    const ProgramEnd end = Print();
    ASSERT_EQ(end.ExitCode, 0) << end.Errors.toStdString();
    const QString text = PdfText(Pdf(), {QStringLiteral("-layout")});
    EXPECT_EQ(text.count(QLatin1Char('\f')), 1);
    EXPECT_TRUE(text.trimmed().isEmpty()) << text.toStdString();
}

TEST_F(PrintCliTest, UsageErrorsEndWithStatusTwoAndTheUsage)
{
    const QString dir = Q(directory.Path());
    const QList<QStringList> wrong{
        {QStringLiteral("--dir"), dir},
        {QStringLiteral("--pdf"), Pdf(), QStringLiteral("--colour")},
        {QStringLiteral("--pdf"), Pdf(), QStringLiteral("--now"), QStringLiteral("tomorrow")},
        {QStringLiteral("--pdf")},
    };
    for (const QStringList& arguments : wrong) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ProgramEnd end = RunBuiltProgram("quillon-cli", QStringList{QStringLiteral("print")} + arguments);
        EXPECT_EQ(end.ExitCode, 2);
        EXPECT_TRUE(end.Errors.contains(QStringLiteral("Usage: quillon-cli print"))) << end.Errors.toStdString();
        EXPECT_FALSE(QFile::exists(Pdf()));
    }
    const ProgramEnd help = RunBuiltProgram("quillon-cli", {QStringLiteral("print"), QStringLiteral("--help")});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Output.startsWith(QStringLiteral("Usage: quillon-cli print")));
}

} // namespace
