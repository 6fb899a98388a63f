#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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

TEST_F(SymbolFileActionsTest, CancelledChoiceOrADeclinedSwapChangesNothing)
{
    Write(state.Paths.DefaultFnSym, "IBM\r\n");
    Write(state.Paths.FnGoodSym, "good\r\n");
    EXPECT_FALSE(ChooseSymbolFile(state, host));
    EXPECT_EQ(host.askedDirectory, dir);
    EXPECT_EQ(host.askedFile, state.Paths.DefaultFnSym);
    EXPECT_FALSE(SwapSymbolFile(state, host, state.Paths.FnGoodSym));
    EXPECT_EQ(host.questions, std::vector<std::string>{"Swap the contents of " + dir + "/Symbols.sym\r\nwith the contents of " +
                                                       dir + "/GoodSym.txt\r\nAre you sure ?"});
    EXPECT_EQ(state.Settings.FnSym, state.Paths.DefaultFnSym);
    EXPECT_EQ(host.saves, 0);
    EXPECT_EQ(Read(state.Paths.DefaultFnSym), "IBM\r\n");
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "good\r\n");
    EXPECT_TRUE(FileExists(state.Paths.FnProgress));
    EXPECT_TRUE(state.SymbolsLoaded);
}

// A new name is created empty, an existing file keeps its content, and a name that cannot be
// created keeps the old file; the settings are saved and the run position forgotten each time.
TEST_F(SymbolFileActionsTest, AChosenFileIsCreatedOrKeptAndThePositionForgotten)
{
    Write(dir + "/Existing.sym", "IBM\r\nMSFT\r\n");
    const std::string impossible = dir + "/no-such-folder/List.sym";
    const struct {
        std::string chosen, fnSym, content, message;
    } rows[] = {
        {dir + "/Mylist.txt", dir + "/Mylist.txt", "", ""},
        {dir + "/Existing.sym", dir + "/Existing.sym", "IBM\r\nMSFT\r\n", ""},
        {impossible, dir + "/Existing.sym", "IBM\r\nMSFT\r\n",
         "Cannot create " + impossible + ", please try another file name."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.chosen);
        host.chosen = row.chosen;
        host.messages.clear();
        Write(state.Paths.FnProgress, "3,17\r\n");
        state.SymbolsLoaded = true;
        EXPECT_TRUE(ChooseSymbolFile(state, host));
        EXPECT_EQ(state.Settings.FnSym, row.fnSym);
        EXPECT_EQ(Read(row.fnSym), row.content);
        EXPECT_EQ(host.messages, row.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.message});
        EXPECT_TRUE(RunPositionForgotten());
    }
    EXPECT_EQ(host.saves, 3);
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

// Swapping twice restores both files, also when one of them is missing.
TEST_F(SymbolFileActionsTest, SwapExchangesContentsAndASecondSwapRestoresThem)
{
    host.answer = true;
    const std::string saved("saved\x0c\r\n", 8);
    for (const std::optional<std::string>& other : {std::optional<std::string>(saved), std::optional<std::string>()}) {
        Write(state.Paths.DefaultFnSym, "IBM\r\nMSFT\r\n");
        (void)RemoveFile(state.Paths.FnSavedSym);
        if (other) Write(state.Paths.FnSavedSym, *other);
        EXPECT_TRUE(SwapSymbolFile(state, host, state.Paths.FnSavedSym));
        EXPECT_EQ(ReadWholeFile(state.Paths.DefaultFnSym), other);
        EXPECT_EQ(Read(state.Paths.FnSavedSym), "IBM\r\nMSFT\r\n");
        EXPECT_FALSE(FileExists(state.Paths.FnTemp));
        EXPECT_TRUE(RunPositionForgotten());

        SwapSymbolFile(state, host, state.Paths.FnSavedSym);
        EXPECT_EQ(Read(state.Paths.DefaultFnSym), "IBM\r\nMSFT\r\n");
        EXPECT_EQ(ReadWholeFile(state.Paths.FnSavedSym), other);
    }
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
