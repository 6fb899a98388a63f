#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/TemporaryDirectory.h"
#include "core/settings/SymbolFileActions.h"
#include "core/text/TextFile.h"

namespace {

class ScriptedHost final : public SymbolFileHost {
public:
    std::optional<std::string> chosen;
    bool answer = false;
    std::vector<std::string> messages, questions, opened;
    int saves = 0;
    std::string askedDirectory, askedFile;

    std::optional<std::string> ChooseFileName(const std::string& dir, const std::string& file) override
    {
        askedDirectory = dir;
        askedFile = file;
        return chosen;
    }
    void OpenInEditor(const std::string& path) override { opened.push_back(path); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override
    {
        questions.push_back(text);
        return answer;
    }
    void SaveSettings() override { ++saves; }
};

class SymbolFileActionsTest : public ::testing::Test {
protected:
    SymbolFileActionsTest()
    {
        state.Paths = FilePaths::Build(dir);
        state.Settings.FnSym = state.Paths.DefaultFnSym;
        state.SymbolsLoaded = true;
        Write(state.Paths.FnProgress, "3,17\r\n");
    }

    static void Write(const std::string& path, const std::string& content)
    {
        ASSERT_TRUE(ReplaceFile(path, content));
    }
    static std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }
    bool RunPositionForgotten() const
    {
        return !FileExists(state.Paths.FnProgress) && !state.SymbolsLoaded;
    }

    TemporaryDirectory directory;
    const std::string dir = directory.Path();
    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    ScriptedHost host;
};

TEST_F(SymbolFileActionsTest, CancelledChoiceChangesNothing)
{
    EXPECT_FALSE(ChooseSymbolFile(state, host));
    EXPECT_EQ(host.askedDirectory, dir);
    EXPECT_EQ(host.askedFile, state.Paths.DefaultFnSym);
    EXPECT_EQ(state.Settings.FnSym, state.Paths.DefaultFnSym);
    EXPECT_EQ(host.saves, 0);
    EXPECT_TRUE(FileExists(state.Paths.FnProgress));
    EXPECT_TRUE(state.SymbolsLoaded);
}

TEST_F(SymbolFileActionsTest, ChoosingANewNameCreatesAnEmptyFileAndForgetsThePosition)
{
    host.chosen = dir + "/Mylist.txt";
    EXPECT_TRUE(ChooseSymbolFile(state, host));
    EXPECT_EQ(state.Settings.FnSym, dir + "/Mylist.txt");
    EXPECT_EQ(Read(dir + "/Mylist.txt"), "");
    EXPECT_EQ(host.saves, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(RunPositionForgotten());
}

TEST_F(SymbolFileActionsTest, ChoosingAnExistingOrTheCurrentFileKeepsItsContent)
{
    Write(state.Paths.DefaultFnSym, "IBM\r\nMSFT\r\n");
    host.chosen = state.Paths.DefaultFnSym;
    EXPECT_TRUE(ChooseSymbolFile(state, host));
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), "IBM\r\nMSFT\r\n");
    EXPECT_TRUE(RunPositionForgotten());
}

TEST_F(SymbolFileActionsTest, AFileThatCannotBeCreatedKeepsTheOldOneButStillSaves)
{
    const std::string impossible = dir + "/no-such-folder/List.sym";
    host.chosen = impossible;
    EXPECT_TRUE(ChooseSymbolFile(state, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Cannot create " + impossible + ", please try another file name.");
    EXPECT_EQ(state.Settings.FnSym, state.Paths.DefaultFnSym);
    EXPECT_EQ(host.saves, 1);
    EXPECT_TRUE(RunPositionForgotten());
}

TEST_F(SymbolFileActionsTest, AnUnreadableExistingFileIsNeverTruncated)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const std::string locked = dir + "/Locked.sym";
    Write(locked, "IBM\r\n");
    ::chmod(locked.c_str(), 0200);
    host.chosen = locked;
    ChooseSymbolFile(state, host);
    ::chmod(locked.c_str(), 0600);
    EXPECT_EQ(Read(locked), "IBM\r\n");
    EXPECT_EQ(state.Settings.FnSym, state.Paths.DefaultFnSym);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(SymbolFileActionsTest, EditCreatesAMissingFileAndOpensIt)
{
    EditSymbolFile(state, host);
    EXPECT_TRUE(FileExists(state.Paths.DefaultFnSym));
    EXPECT_EQ(host.opened, std::vector<std::string>{state.Paths.DefaultFnSym});
    EXPECT_TRUE(RunPositionForgotten());

    Write(state.Paths.DefaultFnSym, "INTC\r\n");
    EditSymbolFile(state, host);
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), "INTC\r\n");
}

TEST_F(SymbolFileActionsTest, SwapAsksTheThreeLineQuestion)
{
    host.answer = false;
    Write(state.Paths.DefaultFnSym, "IBM\r\n");
    Write(state.Paths.FnGoodSym, "good\r\n");
    EXPECT_FALSE(SwapSymbolFile(state, host, state.Paths.FnGoodSym));
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "Swap the contents of " + dir + "/Symbols.sym\r\nwith the contents of "
                                     + dir + "/GoodSym.txt\r\nAre you sure ?");
    // No leaves both files and the run position alone.
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), "IBM\r\n");
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "good\r\n");
    EXPECT_TRUE(FileExists(state.Paths.FnProgress));
    EXPECT_TRUE(state.SymbolsLoaded);
}

TEST_F(SymbolFileActionsTest, SwapExchangesContentsAndASecondSwapRestoresThem)
{
    host.answer = true;
    Write(state.Paths.DefaultFnSym, "IBM\r\nMSFT\r\n");
    Write(state.Paths.FnSavedSym, std::string("saved\x0c\r\n", 8));
    EXPECT_TRUE(SwapSymbolFile(state, host, state.Paths.FnSavedSym));
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), std::string("saved\x0c\r\n", 8));
    EXPECT_EQ(Read(state.Paths.FnSavedSym), "IBM\r\nMSFT\r\n");
    EXPECT_FALSE(FileExists(state.Paths.FnTemp));
    EXPECT_TRUE(RunPositionForgotten());

    SwapSymbolFile(state, host, state.Paths.FnSavedSym);
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), "IBM\r\nMSFT\r\n");
    EXPECT_EQ(Read(state.Paths.FnSavedSym), std::string("saved\x0c\r\n", 8));
}

TEST_F(SymbolFileActionsTest, SwapWithAMissingFileMovesTheOtherContentAcross)
{
    host.answer = true;
    Write(state.Paths.DefaultFnSym, "IBM\r\n");
    SwapSymbolFile(state, host, state.Paths.FnBadSym);
    EXPECT_FALSE(FileExists(state.Paths.DefaultFnSym));
    EXPECT_EQ(Read(state.Paths.FnBadSym), "IBM\r\n");

    SwapSymbolFile(state, host, state.Paths.FnBadSym);
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), "IBM\r\n");
    EXPECT_FALSE(FileExists(state.Paths.FnBadSym));
}

TEST_F(SymbolFileActionsTest, ALeftoverTemporaryFileStopsTheSwapWithoutLosingAnything)
{
    host.answer = true;
    Write(state.Paths.DefaultFnSym, "IBM\r\n");
    Write(state.Paths.FnGoodSym, "good\r\n");
    Write(state.Paths.FnTemp, "debris\r\n");
    SwapSymbolFile(state, host, state.Paths.FnGoodSym);
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), "IBM\r\n");
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "good\r\n");
    EXPECT_EQ(Read(state.Paths.FnTemp), "debris\r\n");
}

} // namespace
