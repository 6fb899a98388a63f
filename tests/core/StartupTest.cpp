#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "support/SettingsPrinting.h"
#include "support/TemporaryDirectory.h"

namespace {

// Answers the agreement dialog as scripted and keeps every message.
class ScriptedHost : public StartupHost {
public:
    explicit ScriptedHost(bool agree) : agree_(agree) {}

    void ShowAgreement(SharedState& state) override
    {
        ++AgreementsShown;
        AcceptedWhenShown = state.AgreementAccepted;
        if (agree_) state.AgreementAccepted = true;
    }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }

    int AgreementsShown = 0;
    bool AcceptedWhenShown = true;
    std::vector<std::string> Messages;

private:
    bool agree_;
};

using DirectoryContent = std::map<std::string, std::string>;

DirectoryContent Snapshot(const std::string& directory)
{
    DirectoryContent files;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = ReadWholeFile(entry.path().string()).value_or("?");
    return files;
}

class StartupTest : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};

    void Put(const std::string& name, const std::string& content)
    {
        ASSERT_TRUE(ReplaceFile(dir.File(name), content));
    }

    // A program directory from an earlier start: settings that name another symbol file, results.
    void PrepareEarlierStart(const std::string& acceptedVersion)
    {
        Put("Accepted.---", acceptedVersion + "\r\n");
        UserSettings settings;
        SetDefaults(settings);
        settings.FnSym = "/data/other.sym";
        settings.DnsName = "quotes.example.net";
        ASSERT_TRUE(WriteSettings(settings, dir.File("Quillon.---")));
        Put("Results.txt", "a saved block\r\n");
        Put("GoodSym.txt", "IBM\r\n");
        Put("BadSym.txt", "XYZ\r\n");
        Put("Symbols.sym", "IBM\r\nXYZ\r\n");
    }

    UserSettings DefaultsHere() const
    {
        UserSettings settings;
        settings.FnSym = dir.File("Symbols.sym");
        SetDefaults(settings);
        return settings;
    }

    void ExpectFreshStart()
    {
        EXPECT_EQ(state.Settings, DefaultsHere());
        EXPECT_EQ(*ReadWholeFile(dir.File("Accepted.---")), "1.77\r\n");
        for (const char* name : {"Results.txt", "GoodSym.txt", "BadSym.txt"}) {
            EXPECT_TRUE(FileExists(dir.File(name))) << name;
            EXPECT_FALSE(FileIsNonEmpty(dir.File(name))) << name;
        }
        UserSettings onDisk;
        ASSERT_TRUE(ReadSettings(onDisk, dir.File("Quillon.---")));
        EXPECT_EQ(onDisk, DefaultsHere());
    }
};

} // namespace

// No record, an older one or one that does not read: the agreement is asked for, and accepting it
// starts afresh with the defaults and empty output files (the symbol list stays).
TEST_F(StartupTest, WithoutARecordOfThisVersionAcceptingStartsAfresh)
{
    for (const char* version : {"none", "1.76", "", "junk", "\"1.77\"x"}) {
        SCOPED_TRACE(version);
        if (version != std::string("none")) PrepareEarlierStart(version);
        ScriptedHost host(/*agree=*/true);
        EXPECT_EQ(Main(state, host, dir.Path()), StartupOutcome::ShowMainWindow);
        EXPECT_EQ(host.AgreementsShown, 1);
        EXPECT_FALSE(host.AcceptedWhenShown);
        EXPECT_TRUE(host.Messages.empty());
        ExpectFreshStart();
        EXPECT_EQ(ReadWholeFile(dir.File("Symbols.sym")).value_or(""), version == std::string("none") ? "" : "IBM\r\nXYZ\r\n");
    }
}

// Leftover temporary files of interrupted rewrites are removed on the way.
TEST_F(StartupTest, AnAcceptedVersionPassesAndTouchesNothingButLeftoverTemporaryFiles)
{
    for (const char* version : {"1.77", "2.01"}) {
        SCOPED_TRACE(version);
        PrepareEarlierStart(version);
        const DirectoryContent before = Snapshot(dir.Path());
        Put("Progress.---.quillon-tmp", "half a record");
        ScriptedHost host(/*agree=*/false);
        EXPECT_EQ(Main(state, host, dir.Path() + "/"), StartupOutcome::ShowMainWindow);
        EXPECT_EQ(host.AgreementsShown, 0);
        EXPECT_EQ(Snapshot(dir.Path()), before);
        EXPECT_EQ(state.Settings.FnSym, "/data/other.sym");
        EXPECT_EQ(state.Paths.FnSettings, dir.File("Quillon.---"));
    }
}

TEST_F(StartupTest, DisagreeingEndsWithTheMessageAndLeavesEveryFile)
{
    for (const bool earlierStart : {false, true}) {
        if (earlierStart) PrepareEarlierStart("1.5");
        const DirectoryContent before = Snapshot(dir.Path());
        ScriptedHost host(/*agree=*/false);
        EXPECT_EQ(Main(state, host, dir.Path()), StartupOutcome::Disagreed);
        EXPECT_EQ(Snapshot(dir.Path()), before);
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(host.Messages[0],
                  "We regret you could not agree with the End-User Agreement.\r\n"
                  "If you change mind before this program is uninstalled, simply\r\n"
                  "run it again and click on the Agree button.\r\n"
                  "\r\n"
                  "To uninstall Quillon, please use Add/Remove Programs\r\n"
                  "utility on Windows' Control Panel.");
    }
}

TEST_F(StartupTest, ARecordThatCannotBeWrittenStopsBeforeAnythingIsDiscarded)
{
    PrepareEarlierStart("1.5");
    // A non-empty directory where the record's temporary file would go makes the write fail.
    std::filesystem::create_directory(dir.File("Accepted.---.quillon-tmp"));
    Put("Accepted.---.quillon-tmp/keep", "x");
    const DirectoryContent before = Snapshot(dir.Path());

    ScriptedHost host(/*agree=*/true);
    EXPECT_EQ(Main(state, host, dir.Path()), StartupOutcome::RecordNotCreated);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0], "Cannot create " + dir.File("Accepted.---") + ", program stopped.");
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(StartupTest, ASettingsPathThatIsADirectoryStartsWithDefaultsAndSaysSo)
{
    PrepareEarlierStart("1.77");
    std::filesystem::remove(dir.File("Quillon.---"));
    std::filesystem::create_directory(dir.File("Quillon.---"));
    Put("Quillon.---/keep", "mine");
    ScriptedHost host(/*agree=*/false);
    EXPECT_EQ(Main(state, host, dir.Path()), StartupOutcome::ShowMainWindow);
    EXPECT_EQ(host.Messages, std::vector<std::string>{"Cannot create " + dir.File("Quillon.---")});
    EXPECT_EQ(state.Settings, DefaultsHere());
    EXPECT_EQ(ReadWholeFile(dir.File("Quillon.---/keep")), "mine");
}

TEST_F(StartupTest, HeadlessLoadCreatesTheDefaultsWithoutTheGate)
{
    PrepareSharedState(state, dir.Path());
    state.Settings.MinPE = Criterion::Number(3); // loading starts from the defaults, not from this
    EXPECT_TRUE(LoadSettingsOrDefaults(state));
    EXPECT_EQ(state.Settings, DefaultsHere());
    EXPECT_TRUE(FileExists(dir.File("Quillon.---")));
    EXPECT_FALSE(FileExists(dir.File("Accepted.---")));
    EXPECT_FALSE(FileExists(dir.File("Results.txt")));
}
