// quillon-cli print against what a careless hand gives it: a report with a fifty-megabyte line and
// a page for every other line.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#include "BuiltProgram.h"
#include "core/settings/FilePaths.h"
#include "core/report/ResultsPrinting.h"
#include "core/text/TextFile.h"
#include "support/SanitizerBuild.h"
#include "support/TemporaryDirectory.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// 3.2 GB and half a minute before lines were cut; the limit leaves the program room for itself.
TEST(HostileCliTest, AFiftyMegabyteLineAndAThousandPagesPrintCutAndWithAWarning) {
    TemporaryDirectory dir;
    const FilePaths paths = FilePaths::Build(dir.Path());
    ASSERT_TRUE(ReplaceFile(paths.FnProgress, "1,1\r\n"));
    {
        std::ofstream results(paths.FnResults, std::ios::binary);
        results << "first\r\n" << std::string(50 * 1024 * 1024, 'X') << "\r\n";
        for (long page = 1; page <= ManyPages; ++page) results << "\f\r\nPage " << page << "\r\n";
    }
    QProcess cli;
    cli.setChildProcessModifier([] {
        const rlimit limit{rlim_t{1536} << 20, rlim_t{1536} << 20};
        if (!UnderAddressSanitizer) setrlimit(RLIMIT_AS, &limit);
    });
    const QString pdf = Q(dir.File("report.pdf"));
    ASSERT_TRUE(StartBuiltProgram(cli, "quillon-cli", {"print", "--dir", Q(dir.Path()), "--pdf", pdf}));
    const ProgramEnd end = WaitForEnd(cli);
    EXPECT_EQ(end.ExitCode, 0) << end.Errors.toStdString();
    EXPECT_TRUE(end.Errors.contains(
        Q("Quillon: warning: " + paths.FnResults + " makes " + std::to_string(ManyPages + 1) + " pages.\n")))
        << end.Errors.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {"-l", "1", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    EXPECT_TRUE(text.readAllStandardOutput().contains("[line cut: 52428800 characters]"));
}

} // namespace
