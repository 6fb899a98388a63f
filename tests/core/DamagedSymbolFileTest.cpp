// Damaged symbol files as the run window meets them: a list is built from whatever usable lines
// there are, or the run ends with the message that names the file; the file itself is never
// changed.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/run/RunController.h"
#include "support/FakeRunHost.h"
#include "support/TemporaryDirectory.h"

namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

// The list is all these tests look at; quotes never come.
class NoQuotes final : public QuoteSource {
public:
    bool StartPass() override { return true; }
    void BeginSymbol() override {}
    std::optional<std::int16_t> Step() override { return std::int16_t{0}; }
    void Cancel() override {}
};

const std::string ChooseAnother = "\r\nPlease use File menu - Choose Symbol File to select another file.";

class DamagedSymbolFileTest : public ::testing::Test {
protected:
    DamagedSymbolFileTest()
    {
        state.Paths = FilePaths::Build(dir.Path());
        state.Settings.FnSym = state.Paths.DefaultFnSym;
        state.Settings.InterestRate = 0.05f;
    }

    // Opens a run window on the symbol file and pumps until the list is loaded or the run ended.
    void Load()
    {
        state.SymbolsLoaded = false;
        host.messages.clear();
        RunController controller(state, host, source, source, [](SharedState&, RunHost&, std::int16_t) {});
        controller.Activate();
        for (int i = 0; i < 100 && !state.SymbolsLoaded; ++i)
            if (controller.Pump() == PumpResult::Finished) break;
        ending = controller.Ending();
    }

    Strings LoadedFrom(const std::string& content)
    {
        EXPECT_TRUE(ReplaceFile(state.Settings.FnSym, content));
        Load();
        EXPECT_EQ(ending, RunEnding::Running);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(ReadWholeFile(state.Settings.FnSym) == content) << "the symbol file was changed";
        return state.SymbolsLoaded ? state.Symbols.SymbolList : Strings{"<not loaded>"};
    }

    void ExpectUnusable(const std::string& message)
    {
        Load();
        EXPECT_EQ(ending, RunEnding::SymbolFileUnusable);
        EXPECT_FALSE(state.SymbolsLoaded);
        EXPECT_EQ(host.messages, Strings{message});
    }

    TemporaryDirectory dir;
    FixedClock clock{LocalDateTime{2026, 3, 9, 15, 30, 0}};
    SharedState state{clock};
    FakeRunHost host;
    NoQuotes source;
    RunEnding ending = RunEnding::Running;
};

} // namespace

TEST_F(DamagedSymbolFileTest, UsableLinesGiveTheListWhateverSurroundsThem)
{
    const std::string huge(10'000'000, 'q');
    const struct {
        const char* name;
        std::string content;
        Strings list;
    } rows[] = {
        {"NUL ends a symbol, a line starting with NUL is skipped", "ab\0c\r\n\0QQ\r\nxyz\0\r\n"s, {"AB", "XYZ"}},
        {"a NUL-only file but one line", std::string(1000, '\0') + "\nibm", {"IBM"}},
        {"lone CR line ends", "msft\ribm\ra\r", {"A", "IBM", "MSFT"}},
        {"lone LF line ends", "msft\nibm\na\n", {"A", "IBM", "MSFT"}},
        {"LF then CR are two line ends", "ibm\n\rmsft\n\r", {"IBM", "MSFT"}},
        {"bytes above 127 are no letters", "\xffIBM\r\nIB\xe9M\r\n\x80\r\n", {"IB"}},
        {"a 10 MB line gives six characters, the next line still counts", huge + "\r\nibm", {"IBM", "QQQQQQ"}},
        {"a 10 MB last line without a line end", "ibm\r\n" + huge, {"IBM", "QQQQQQ"}},
        {"a 10 MB line that starts with a blank", " " + huge + "\r\nibm\r\n", {"IBM"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LoadedFrom(row.content), row.list);
        EXPECT_EQ(state.Symbols.SymbolCount, static_cast<std::int16_t>(row.list.size()));
    }
}

TEST_F(DamagedSymbolFileTest, AFileThatCannotBeReadOrHoldsNoSymbolStopsTheRunWithItsMessage)
{
    const std::string fnSym = state.Settings.FnSym;
    const std::string cannotOpen = "Cannot open " + fnSym + " for input." + ChooseAnother;
    const std::string noSymbols = fnSym + " contains no symbols, process stopped." + ChooseAnother;

    ExpectUnusable(cannotOpen); // missing

    std::filesystem::create_directory(fnSym);
    ExpectUnusable(cannotOpen); // a directory given as the symbol file
    std::filesystem::remove(fnSym);

    ASSERT_TRUE(ReplaceFile(fnSym, "IBM\r\n"));
    ASSERT_EQ(::chmod(fnSym.c_str(), 0), 0);
    if (::access(fnSym.c_str(), R_OK) != 0) ExpectUnusable(cannotOpen); // permissions bind this user
    ASSERT_EQ(::chmod(fnSym.c_str(), 0600), 0);

    state.Settings.FnSym += "/Symbols.sym"; // a path through a file
    ExpectUnusable("Cannot open " + state.Settings.FnSym + " for input." + ChooseAnother);
    state.Settings.FnSym = state.Paths.DefaultFnSym;

    for (const std::string& content : {""s, "\r\n\r\n"s, " ibm\r\n-msft\r\n"s, "\0\0\0\xff\r\n"s}) {
        SCOPED_TRACE(content.size());
        ASSERT_TRUE(ReplaceFile(fnSym, content));
        ExpectUnusable(noSymbols);
        EXPECT_TRUE(ReadWholeFile(fnSym) == content);
    }
}
