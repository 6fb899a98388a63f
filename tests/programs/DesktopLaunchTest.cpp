// The desktop program launched as a user would: it starts on a program directory, writes or keeps
// its settings and ends cleanly on SIGTERM or SIGINT without touching its files; `--screenshots`
// renders every window. (On a real X server, gui-demo-test.sh runs a whole pass.)

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QSize>
#include <QThread>

#include <csignal>
#include <string>

#include "support/TemporaryDirectory.h"
#include "BuiltProgram.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"

namespace {

constexpr int SettingsLineCount = 36;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The names in `directory`, in character-code order, as one line.
std::string FilesIn(const QString& directory)
{
    QStringList names = QDir(directory).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names.join(QLatin1Char(' ')).toStdString();
}

// Waits up to `timeoutMs` for `done`, looking every 50 ms.
template <typename Condition>
bool WaitUntil(Condition done, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QThread::msleep(50);
    }
    return true;
}

// Whether process `pid` has a handler of its own for `signal` (SigCgt in /proc/PID/status).
bool Catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("SigCgt:");
    const qsizetype end = text.indexOf('\n', at);
    return at >= 0 && (text.mid(at + 7, end - at - 7).trimmed().toULongLong(nullptr, 16) >> (signal - 1) & 1);
}

// `quillon --dir` on a directory of its own, ended by a signal.
class DesktopLaunchTest : public ::testing::Test {
protected:
    std::string File(const char* name) const { return directory.File(name); }
    std::string Read(const char* name) const { return ReadWholeFile(File(name)).value_or("<missing>"); }
    void AcceptAgreement() { ASSERT_TRUE(ReplaceFile(File("Accepted.---"), "1.77\r\n")); }

    // Starts the program and waits until it has its settings file and has run on for a while.
    void Launch()
    {
        ASSERT_TRUE(StartBuiltProgram(program, "quillon", {QStringLiteral("--dir"), Q(directory.Path())}));
        ASSERT_TRUE(WaitUntil([this] { return FileExists(File("Quillon.---")); }));
        QThread::msleep(500);
        ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    }

    // Sends `signal` once the program catches it, and expects it to end by itself with 128 + its
    // number.
    void EndWith(int signal)
    {
        ASSERT_TRUE(WaitUntil([&] { return Catches(program.processId(), signal); }));
        ::kill(static_cast<pid_t>(program.processId()), signal);
        const ProgramEnd end = WaitForEnd(program, 20000);
        EXPECT_FALSE(end.Crashed) << end.Errors.toStdString();
        EXPECT_EQ(end.ExitCode, 128 + signal) << end.Errors.toStdString();
    }

    TemporaryDirectory directory;
    QProcess program;
};

TEST_F(DesktopLaunchTest, AFreshDirectoryGetsDefaultSettingsWhichALaterSessionKeeps)
{
    AcceptAgreement();
    Launch();
    const std::string defaults = Read("Quillon.---");
    EXPECT_EQ(SplitLines(defaults).size(), std::size_t(SettingsLineCount));
    EXPECT_NE(defaults.find("\"/cgi-bin/getquote.dll?TICKER=\"\r\n"), std::string::npos);
    EndWith(SIGTERM);
    EXPECT_EQ(Read("Quillon.---"), defaults);
    EXPECT_EQ(FilesIn(Q(directory.Path())), "Accepted.--- Quillon.---");

    // Left by later sessions: another symbol file, quotes from the local file, a run at symbol 2.
    UserSettings earlier;
    SetDefaults(earlier);
    earlier.FnSym = File("Mylist.sym");
    earlier.GetQuoteFromLocalFile = true;
    ASSERT_TRUE(WriteSettings(earlier, File("Quillon.---")));
    const std::string settings = Read("Quillon.---");
    ASSERT_TRUE(ReplaceFile(File("Progress.---"), "1,2\r\n"));
    ASSERT_TRUE(ReplaceFile(File("Results.txt"), "kept\r\n"));
    Launch();
    EndWith(SIGINT);
    EXPECT_EQ(Read("Quillon.---"), settings);
    EXPECT_EQ(Read("Progress.---"), "1,2\r\n");
    EXPECT_EQ(Read("Results.txt"), "kept\r\n");
    EXPECT_EQ(Read("Accepted.---"), "1.77\r\n");
    EXPECT_EQ(FilesIn(Q(directory.Path())), "Accepted.--- Progress.--- Quillon.--- Results.txt");
}

TEST_F(DesktopLaunchTest, SigtermAtTheAgreementIsADisagreementThatWritesNothing)
{
    ASSERT_TRUE(StartBuiltProgram(program, "quillon", {QStringLiteral("--dir"), Q(directory.Path())}));
    QThread::msleep(1500); // the agreement is up: nothing is written before it is answered
    ASSERT_EQ(program.state(), QProcess::Running);
    EndWith(SIGTERM);
    EXPECT_EQ(FilesIn(Q(directory.Path())), "");
}

TEST(DesktopScreenshotsTest, EveryWindowIsRenderedAtEachScale)
{
    TemporaryDirectory output;
    const QStringList names{"agreement-review", "agreement", "choose-symbol-file", "help-contents", "main-window",
                            "menu-file", "menu-help", "menu-setup", "menu-view", "setup-filter", "setup-interest",
                            "setup-quote-server", "tracing-alarm", "tracing-chart", "tracing-retrying", "tracing"};
    QMap<QString, QSize> mainWindow;
    for (const char* scale : {"1", "2"}) {
        SCOPED_TRACE(scale);
        const QString directory = Q(output.File(scale));
        QProcessEnvironment environment = OffscreenEnvironment();
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale));
        const ProgramEnd end = RunBuiltProgram("quillon", {QStringLiteral("--screenshots"), directory}, environment);
        ASSERT_FALSE(end.Crashed);
        EXPECT_EQ(end.ExitCode, 0) << end.Errors.toStdString(); // 1 when a control is clipped
        QStringList expected;
        for (const QString& name : names) expected << name + QStringLiteral(".png");
        EXPECT_EQ(FilesIn(directory), expected.join(QLatin1Char(' ')).toStdString());
        for (const QString& file : expected) {
            QImageReader png(QDir(directory).filePath(file), "png");
            const QSize size = png.size();
            ASSERT_TRUE(png.canRead()) << file.toStdString();
            EXPECT_GT(size.width(), 50) << file.toStdString();
            EXPECT_GT(size.height(), 20) << file.toStdString();
            if (file == QLatin1String("main-window.png")) mainWindow[QLatin1String(scale)] = size;
        }
    }
    EXPECT_EQ(mainWindow.value("2"), mainWindow.value("1") * 2);
}

} // namespace
