// Files a careless or hostile hand puts where the program reads: a device or a pipe named as the
// symbol file, a hundred megabytes of line ends, a list longer than it can hold, and a program
// directory that another run holds. Damaged and huge symbol lines are rows of
// cases/tables/damaged-records.tsv.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/run/RunLock.h"
#include "core/run/RunStatus.h"
#include "core/run/SymbolList.h"
#include "core/text/TextFile.h"
#include "support/SanitizerBuild.h"
#include "support/TemporaryDirectory.h"

namespace {

// Work done under a limit on memory, in a child process, so that a fault shows as a failed child
// instead of a machine filled up. The limit is on address space (RLIMIT_AS): what a child may map
// beyond what the test process already has. Skipped under AddressSanitizer, whose shadow memory
// alone is far beyond any such limit.

// The address space this process has mapped now, in bytes.
long long MappedBytes()
{
    long long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * sysconf(_SC_PAGESIZE);
}

// True when `work` returns true in a child that may map at most `extraBytes` more than this
// process has now; false when it returns false, runs out of memory (std::bad_alloc ends it) or
// dies otherwise.
bool SucceedsWithin(long long extraBytes, const std::function<bool()>& work)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const auto bytes = static_cast<rlim_t>(MappedBytes() + extraBytes);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_AS, &limit);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

constexpr long long Megabyte = 1024 * 1024;

void WriteRepeated(const std::string& path, const std::string& head, char filler, long long count,
                   const std::string& tail)
{
    std::ofstream file(path, std::ios::binary);
    file << head;
    const std::string block(Megabyte, filler);
    for (long long written = 0; written < count; written += Megabyte)
        file.write(block.data(), static_cast<std::streamsize>(std::min(Megabyte, count - written)));
    file << tail;
}

TEST(HostileFileTest, ASymbolFileThatIsNoRegularFileIsRefusedWithoutReading)
{
    TemporaryDirectory dir;
    const std::string fifo = dir.File("fifo.sym");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), fifo, dir.Path()})
        EXPECT_FALSE(ReadSymbolFile(path)) << path;
}

TEST(HostileFileTest, AHundredMegabytesOfLineEndsAreReadInBoundedMemory)
{
    if (UnderAddressSanitizer) GTEST_SKIP() << "no memory limit under the sanitizer";
    TemporaryDirectory dir;
    const std::string path = dir.File("Symbols.sym");
    WriteRepeated(path, "abc\r\n", '\n', 100 * Megabyte, "xyz corp");
    EXPECT_TRUE(SucceedsWithin(64 * Megabyte, [&path] {
        const auto symbols = ReadSymbolFile(path);
        return symbols && *symbols == std::vector<std::string>{"ABC", "XYZ"};
    }));
}

// Reading stops at the first symbol the list cannot keep, and says so; a full list alone is not
// a cut one.
TEST(HostileFileTest, ReadingStopsAtTheFirstSymbolTheListCannotKeep)
{
    TemporaryDirectory dir;
    const std::string path = dir.File("Symbols.sym");
    for (const int usable : {SymbolCapacityLimit + 0, SymbolCapacityLimit + 1}) {
        std::string text;
        for (int i = 0; i < usable; ++i) text += "S" + std::to_string(i) + "\r\n- not a symbol\r\n";
        ASSERT_TRUE(ReplaceFile(path, text));
        bool restIgnored = false;
        const auto symbols = ReadSymbolFile(path, &restIgnored);
        ASSERT_TRUE(symbols);
        EXPECT_EQ(symbols->size(), static_cast<std::size_t>(SymbolCapacityLimit)) << usable;
        EXPECT_EQ(symbols->back(), "S29999");
        EXPECT_EQ(restIgnored, usable > SymbolCapacityLimit) << usable;
    }
}

TEST(RunLockTest, ASecondRunIsRefusedByNameUntilTheHolderDies)
{
    TemporaryDirectory dir;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        RunLock lock;
        std::string refusal;
        const char taken = lock.Take(dir.Path(), refusal) ? 'y' : 'n';
        if (write(ready[1], &taken, 1) != 1) _exit(1);
        pause(); // killed by the test, never released
        _exit(0);
    }
    char taken = 'n';
    ASSERT_EQ(read(ready[0], &taken, 1), 1);
    ASSERT_EQ(taken, 'y');

    RunLock second;
    std::string refusal;
    EXPECT_FALSE(second.Take(dir.Path(), refusal));
    EXPECT_EQ(refusal, "The program directory " + dir.Path() + " is in use by another run (" +
                           program_invocation_short_name + ", process " + std::to_string(holder) +
                           "). Close that run first.");

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(second.Take(dir.Path(), refusal)) << "a killed run leaves no lock behind";
    RunLock third;
    EXPECT_FALSE(third.Take(dir.Path(), refusal)) << "one process holds it against itself as well";
    second.Release();
    EXPECT_FALSE(FileExists(dir.File(RunLockFileName)));
    EXPECT_TRUE(third.Take(dir.Path(), refusal));
}

} // namespace
