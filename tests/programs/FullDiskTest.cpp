// quillon-cli replaying onto a disk that fills up part-way through a pass. A file size limit on the
// run makes the kernel refuse writes past it (EFBIG) exactly where a full disk would (ENOSPC),
// without a file system of its own: the write that crosses it goes out in part, the next fails.

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include "LiveRunSupport.h"
#include "core/run/ProgressFile.h"

namespace {

constexpr int SymbolCount = 60;
constexpr rlim_t FileSizeLimit = 20000; // about five results pages: reached early in the pass

// The kernel refuses writes past the limit; a failed write instead of the end of the process.
void LimitFileSize()
{
    const rlimit limit{FileSizeLimit, FileSizeLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_IGN);
}

std::vector<std::string> Pages(const std::string& results)
{
    std::vector<std::string> pages;
    for (std::size_t start = 0; start < results.size();) {
        const auto end = results.find("\f\r\n", start);
        pages.push_back(results.substr(start, end == std::string::npos ? end : end + 3 - start));
        if (end == std::string::npos) break;
        start = end + 3;
    }
    return pages;
}

std::vector<std::string> Prefix(const std::vector<std::string>& items, std::size_t count)
{
    return {items.begin(), items.begin() + static_cast<std::ptrdiff_t>(std::min(count, items.size()))};
}

TEST(FullDiskTest, StopsNamingTheFileKeepsOnlyWholeSymbolsAndResumesOnceThereIsRoom)
{
    ProgramDirectory reference("full-disk-reference");
    ProgramDirectory full("full-disk");
    PrepareGeneratedReplay(reference, SymbolCount);
    PrepareGeneratedReplay(full, SymbolCount);
    ASSERT_EQ(reference.Run("local", 1).ExitCode, 0);
    const FilePaths& paths = full.Paths();

    const RunResult stopped = full.Run("local", 1, {}, LimitFileSize);
    EXPECT_EQ(stopped.ExitCode, 1) << stopped.Output;
    EXPECT_NE(stopped.Output.find("Cannot write " + paths.FnResults + ": File too large, process stopped."),
              std::string::npos)
        << stopped.Output;

    // The record names the last symbol whose lines all went out, and the files hold exactly the
    // lines of the symbols up to it: no half page, no line of the symbol that failed.
    const auto progress = ReadProgress(paths.FnProgress);
    ASSERT_TRUE(progress);
    const auto [savedCount, symbolIndex] = *progress;
    ASSERT_GT(savedCount, 0);
    ASSERT_LT(symbolIndex, SymbolCount);
    const std::vector<std::string> pages = Pages(full.Read(paths.FnResults));
    EXPECT_EQ(pages, Prefix(Pages(reference.Read(reference.Paths().FnResults)), static_cast<std::size_t>(savedCount)));
    const auto symbolsUpTo = [&](const std::string& text) {
        std::vector<std::string> kept;
        for (const std::string& symbol : SymbolsOf(text))
            if (symbol <= quote_cache_generator::SymbolName(symbolIndex - 1)) kept.push_back(symbol);
        return kept;
    };
    for (const std::string FilePaths::*file : {&FilePaths::FnGoodSym, &FilePaths::FnBadSym, &FilePaths::FnSavedSym})
        EXPECT_EQ(SymbolsOf(full.Read(paths.*file)), symbolsUpTo(reference.Read(reference.Paths().*file)))
            << paths.*file;

    // Room again: the restart goes on from the record and the pass ends as if nothing happened,
    // but for the recorded symbol, which a resumed pass evaluates again.
    ASSERT_EQ(full.Run("local", 1).ExitCode, 0);
    for (const std::string FilePaths::*file : {&FilePaths::FnGoodSym, &FilePaths::FnBadSym, &FilePaths::FnSavedSym})
        EXPECT_EQ(WithoutRedone(SymbolsOf(full.Read(paths.*file))).first,
                  SymbolsOf(reference.Read(reference.Paths().*file)))
            << paths.*file;
    EXPECT_EQ(full.Read(paths.FnResultsBak), PreviousResults);
}

} // namespace
