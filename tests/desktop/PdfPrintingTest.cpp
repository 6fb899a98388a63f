// Results printed into a PDF through the painted printer, read back with pdftotext.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "core/text/TextFile.h"
#include "qt/PdfPrinter.h"
#include "core/report/ResultsPrinting.h"

namespace {

// The PDF's text page by page (pdftotext separates pages with a form feed).
QStringList PdfPages(const QString& file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {QStringLiteral("<pdftotext failed>")};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

std::string Block(const char* symbol, int lines)
{
    std::string block = std::string("Saved    Symbol....") + symbol + "\r\n";
    for (int i = 1; i < lines; ++i) block += "row " + std::to_string(i) + " of " + symbol + "\r\n";
    return block + "\f\r\n";
}

} // namespace

class PdfPrintingTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    FixedClock clock{LocalDateTime{2026, 12, 4, 15, 30, 0}};

    QStringList Print(const std::string& results, const std::string& progress, bool& printed)
    {
        const FilePaths paths = FilePaths::Build(dir.path().toStdString());
        if (!ReplaceFile(paths.FnResults, results) || !ReplaceFile(paths.FnProgress, progress)) return {"<setup>"};
        const QString pdf = dir.filePath(QStringLiteral("results.pdf"));
        QFile::remove(pdf);
        std::int16_t savedCount = 0;
        {
            PdfPrinter printer(pdf);
            printed = PrintResults(paths, savedCount, printer, clock);
        }
        return PdfPages(pdf);
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) QSKIP("pdftotext is not installed");
    }

    void threeBlocksGiveThreeNumberedPages()
    {
        bool printed = false;
        const QStringList pages = Print(Block("AAA", 5) + Block("BBB", 5) + Block("CCC", 5), "3,4\r\n", printed);
        QVERIFY(printed);
        QCOMPARE(pages.size(), 3);
        const char* symbols[] = {"AAA", "BBB", "CCC"};
        for (int n = 1; n <= 3; ++n) {
            const QString& page = pages[n - 1];
            QVERIFY2(page.contains(QStringLiteral("Printed 2026-12-04 15:30:00")), qPrintable(page));
            QVERIFY2(page.contains(QStringLiteral("Quillon results")), qPrintable(page));
            QVERIFY2(page.contains(QStringLiteral("Page %1 of 3").arg(n)), qPrintable(page));
            QVERIFY(page.contains(QStringLiteral("Symbol....%1").arg(QLatin1String(symbols[n - 1]))));
            QVERIFY(page.contains(QStringLiteral("row 4 of %1").arg(QLatin1String(symbols[n - 1]))));
        }
    }

    void thePageTotalComesFromTheProgressRecord()
    {
        bool printed = false;
        const QStringList pages = Print(Block("AAA", 3) + Block("BBB", 3), "7,1\r\n", printed);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[1].contains(QStringLiteral("Page 2 of 7")));
    }

    void aBlockLongerThanAPageContinuesOnTheNextSheet()
    {
        bool printed = false;
        const QStringList pages = Print(Block("LONG", 150), "1,1\r\n", printed);
        QVERIFY(printed);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        QVERIFY(pages[0].contains(QStringLiteral("Page 1 of 1")));
        QVERIFY(pages.last().contains(QStringLiteral("row 149 of LONG")));
        QVERIFY(!pages[0].contains(QStringLiteral("row 149 of LONG")));
    }

    void nothingIsPrintedWithoutAProgressRecord()
    {
        const FilePaths paths = FilePaths::Build(dir.path().toStdString());
        QVERIFY(ReplaceFile(paths.FnResults, Block("AAA", 3)));
        QFile::remove(QString::fromStdString(paths.FnProgress));
        std::int16_t savedCount = 5;
        PdfPrinter printer(dir.filePath(QStringLiteral("none.pdf")));
        QVERIFY(!PrintResults(paths, savedCount, printer, clock));
        QCOMPARE(savedCount, std::int16_t(5));
    }
};

QTEST_MAIN(PdfPrintingTest)
#include "PdfPrintingTest.moc"
