// The desktop program launched as a user would: it starts on a program directory, writes or keeps
// its settings, shows its main window and ends cleanly on SIGTERM or SIGINT without touching its
// files; `--screenshots` renders every window.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QMap>
#include <QSize>
#include <QStandardPaths>
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

// `quillon --dir` on a directory of its own, ended by a signal.
class DesktopLaunchTest : public ::testing::Test {
protected:
    std::string File(const char* name) const { return directory.File(name); }
    std::string Read(const char* name) const { return ReadWholeFile(File(name)).value_or("<missing>"); }
    void AcceptAgreement() { ASSERT_TRUE(ReplaceFile(File("Accepted.---"), "1.77\r\n")); }

    // Starts the program and waits until it has its settings file and has run on for a while.
    void Launch(const QProcessEnvironment& environment = OffscreenEnvironment())
    {
        ASSERT_TRUE(StartBuiltProgram(program, "quillon", {QStringLiteral("--dir"), Q(directory.Path())}, environment));
        ASSERT_TRUE(WaitUntil([this] { return FileExists(File("Quillon.---")); }));
        QThread::msleep(500);
        ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    }

    // Sends `signal` and expects the program to end by itself with 128 + its number.
    void EndWith(int signal)
    {
        ::kill(static_cast<pid_t>(program.processId()), signal);
        const ProgramEnd end = WaitForEnd(program, 20000);
        EXPECT_FALSE(end.Crashed) << end.Errors.toStdString();
        EXPECT_EQ(end.ExitCode, 128 + signal) << end.Errors.toStdString();
    }

    TemporaryDirectory directory;
    QProcess program;
};

TEST_F(DesktopLaunchTest, AFreshDirectoryGetsDefaultSettingsAndSigtermEndsCleanly)
{
    AcceptAgreement();
    Launch();
    const std::string settings = Read("Quillon.---");
    EXPECT_EQ(SplitLines(settings).size(), std::size_t(SettingsLineCount));
    EXPECT_NE(settings.find("\"/cgi-bin/getquote.dll?TICKER=\"\r\n"), std::string::npos);
    EndWith(SIGTERM);
    EXPECT_EQ(Read("Quillon.---"), settings);
    EXPECT_EQ(Read("Accepted.---"), "1.77\r\n");
    EXPECT_EQ(FilesIn(Q(directory.Path())), "Accepted.--- Quillon.---");
}

TEST_F(DesktopLaunchTest, SettingsAndRunFilesAreKeptAndSigintEndsCleanly)
{
    AcceptAgreement();
    // Left by an earlier session: another symbol file, quotes from the local file, a run at symbol 2.
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

// On a real X server (a private Xvfb) the main window is there, with exactly its caption.
TEST_F(DesktopLaunchTest, TheMainWindowIsShownWithItsCaption)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xwininfo = QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
    if (xvfb.isEmpty() || xwininfo.isEmpty()) GTEST_SKIP() << "needs Xvfb and xwininfo";
    QProcess server;
    // -displayfd: the server picks a free display and names it on standard output.
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                        QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x800x24")});
    ASSERT_TRUE(server.waitForStarted(10000));
    ASSERT_TRUE(WaitUntil([&server] {
        server.waitForReadyRead(50);
        return server.canReadLine() || server.state() != QProcess::Running;
    }));
    const QString display = QLatin1Char(':') + QString::fromLatin1(server.readLine()).trimmed();
    ASSERT_GT(display.size(), 1);

    AcceptAgreement();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), display);
    // The X platform plugin talks D-Bus, and the system's D-Bus library keeps a buffer until exit;
    // a sanitizer build is not to count that as ours.
    ASSERT_TRUE(ReplaceFile(directory.File("lsan.supp"), "leak:libdbus-1.so\n"));
    environment.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=") + Q(directory.File("lsan.supp")));
    Launch(environment);
    // xwininfo quotes each window's name: the caption must stand alone, with nothing appended.
    const QString caption = QStringLiteral("\"Welcome to Quillon [%1]\":").arg(Q(File("Symbols.sym")));
    QString windows;
    const bool shown = WaitUntil([&] {
        QProcess list;
        list.start(xwininfo, {QStringLiteral("-display"), display, QStringLiteral("-root"), QStringLiteral("-tree")});
        list.waitForFinished(10000);
        windows = QString::fromLocal8Bit(list.readAllStandardOutput());
        return windows.contains(caption);
    });
    EXPECT_TRUE(shown) << windows.toStdString();
    EndWith(SIGTERM);
    server.terminate();
    server.waitForFinished(10000);
}

TEST(DesktopScreenshotsTest, EveryWindowIsRenderedAtEachScale)
{
    TemporaryDirectory output;
    const QStringList names{"agreement-review", "agreement", "choose-symbol-file", "help-contents", "main-window",
                            "menu-file", "menu-help", "menu-setup", "menu-view", "setup-filter", "setup-interest",
                            "setup-quote-server", "tracing-alarm", "tracing-retrying", "tracing"};
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
