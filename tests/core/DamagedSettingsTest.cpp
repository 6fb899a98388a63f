// Damaged settings files as start-up meets them: whatever the file holds, start-up goes on, every
// field that reads intact takes effect, every other one keeps its default, and the file on disk is
// left exactly as it was found.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "support/SettingsPrinting.h"
#include "support/FileLines.h"
#include "support/TemporaryDirectory.h"

namespace {

using namespace std::string_literals;
constexpr std::size_t FieldCount = 36;

class DamagedSettingsTest : public ::testing::Test {
protected:
    DamagedSettingsTest()
    {
        PrepareSharedState(state, dir.Path());
        UserSettings defaults;
        defaults.FnSym = state.Paths.DefaultFnSym;
        SetDefaults(defaults);
        defaultLines = LinesOf(SettingsFileText(defaults));
        customLines = LinesOf(SettingsFileText(Custom()));
    }

    // Every one of the 36 fields away from its default.
    static UserSettings Custom()
    {
        UserSettings s;
        s.Credentials = CredentialsOf("trader", "pa:ss");
        s.UserName = "trader";
        s.Password = "pa:ss";
        s.DnsName = "quotes.example.net";
        s.PortNumber = 8080;
        s.GetQuoteString = "/q?s=";
        s.GetOptionsQuoteString = "/o?s=";
        s.SwitchText = "switch";
        s.InterestRate = 0.0575f;
        for (Criterion* criterion :
             {&s.MinPE, &s.MaxPE, &s.MinMktCap, &s.MaxMktCap, &s.MinVolume, &s.MaxVolume, &s.MinLast,
              &s.MaxLast, &s.MinBeta, &s.MaxBeta, &s.MinPctChange, &s.MaxPctChange, &s.MinYield,
              &s.MaxYield, &s.MinRange, &s.MaxRange, &s.MinOptVol, &s.MinOptInt, &s.MinOptPctVol,
              &s.MinTimeVal, &s.MaxIntVal, &s.MinQVAC, &s.MinQVAP, &s.MinQVAC_QVAP, &s.MinQVAP_QVAC})
            *criterion = Criterion::Number(1.5);
        s.AvgQVAusing = 0;
        s.DrvQVAfrom = 2;
        s.FnSym = "/home/u/tech.sym";
        s.GetQuoteFromLocalFile = true;
        return s;
    }

    // Start-up's loading of `content`; the settings in effect afterwards, as their file lines.
    Lines LoadedFrom(const std::string& content)
    {
        EXPECT_TRUE(ReplaceFile(state.Paths.FnSettings, content));
        EXPECT_TRUE(LoadSettingsOrDefaults(state));
        EXPECT_EQ(ReadWholeFile(state.Paths.FnSettings), content) << "a readable file is never rewritten";
        return LinesOf(SettingsFileText(state.Settings));
    }

    TemporaryDirectory dir;
    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    Lines defaultLines;
    Lines customLines;
};

} // namespace

TEST_F(DamagedSettingsTest, AFileCutAfterAnyLineTakesTheLinesBeforeTheCutAndDefaultsForTheRest)
{
    ASSERT_EQ(customLines.size(), FieldCount);
    for (std::size_t kept = 0; kept <= FieldCount; ++kept) {
        const Lines loaded = LoadedFrom(Joined(customLines, kept));
        ASSERT_EQ(loaded.size(), FieldCount);
        for (std::size_t i = 0; i < FieldCount; ++i)
            ASSERT_EQ(loaded[i], i < kept ? customLines[i] : defaultLines[i])
                << kept << " lines kept, field " << i + 1;
    }
    // The last line without its line end is read all the same.
    std::string unended = Joined(customLines, FieldCount);
    unended.resize(unended.size() - 2);
    EXPECT_EQ(LoadedFrom(unended), customLines);
}

TEST_F(DamagedSettingsTest, ADamagedLineChangesOnlyItsOwnField)
{
    const std::string huge(10'000'000, 'h');
    const std::string hugeDigits(10'000'000, '9');
    const struct {
        const char* name;
        std::size_t field;
        std::string line;
        std::string takesEffect; // the field's line when next written; empty: keeps its default
    } rows[] = {
        {"NUL inside a quoted text", 2, "\"quo\0tes\""s, "\"quo\0tes\""s},
        {"NUL inside a number", 3, "80\0" "81"s, ""},
        {"0xFF bytes for the rate", 7, "\xff\xfe", ""},
        {"0xFF inside a quoted text", 4, "\"/q\xff?s=\"", "\"/q\xff?s=\""},
        {"a lone quote is an empty text", 2, "\"", "\"\""},
        {"an unclosed quote ends at its line end", 4, "\"/q?s=", "\"/q?s="s + "\""},
        {"a quote inside a bare number", 3, "80\"80", ""},
        {"a bare word switches a criterion off", 8, "12\"5", "\"12'5\""},
        {"an empty criterion line is no value", 9, "", ""},
        {"a boolean in another spelling", 36, "TRUE", ""},
        {"values after the first on a line are passed over", 2, "\"h\",x,\"y\"", "\"h\""},
        {"a port beyond 65535", 3, "70000", ""},
        {"port 0, which nothing can connect to", 3, "0", ""},
        {"a rate beyond single precision", 7, "1E+39", ""},
        {"an option index beyond 16 bits", 33, "40000", ""},
        {"an option index that is no whole number", 34, "2.5", ""},
        {"a boolean that is no boolean at all", 36, "yes", ""},
        {"binary bytes in place of the login", 1, "\"x\xff\x01\x80\"", "\"=\xff\x01\x80\""},
        {"a 10 MB text", 2, "\"" + huge + "\"", "\"" + huge + "\""},
        {"a 10 MB number", 3, hugeDigits, ""},
        {"a 10 MB bare criterion is a text", 10, huge, "\"" + huge + "\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Lines lines = customLines;
        lines[row.field - 1] = row.line;
        const Lines loaded = LoadedFrom(Joined(lines, FieldCount));
        ASSERT_EQ(loaded.size(), FieldCount);
        for (std::size_t i = 0; i < FieldCount; ++i) {
            const bool damaged = i == row.field - 1;
            const std::string& expected =
                !damaged ? customLines[i] : row.takesEffect.empty() ? defaultLines[i] : row.takesEffect;
            ASSERT_TRUE(loaded[i] == expected) << "field " << i + 1 << " reads " << loaded[i].substr(0, 40);
        }
    }
    // A criterion that became a text filters nothing (field 10 of the last row).
    EXPECT_FALSE(state.Settings.MinMktCap.InForce().has_value());
}

TEST_F(DamagedSettingsTest, ASettingsPathThatIsADirectoryStartsWithDefaultsAndSaysSo)
{
    class Host : public StartupHost {
    public:
        void ShowAgreement(SharedState&) override { ++agreements; }
        void ShowMessage(const std::string& text) override { messages.push_back(text); }
        int agreements = 0;
        std::vector<std::string> messages;
    } host;
    ASSERT_TRUE(ReplaceFile(state.Paths.FnAcceptance, "1.77\r\n"));
    std::filesystem::create_directory(state.Paths.FnSettings);
    ASSERT_TRUE(ReplaceFile(state.Paths.FnSettings + "/keep", "mine"));

    EXPECT_EQ(Main(state, host, dir.Path()), StartupOutcome::ShowMainWindow);
    EXPECT_EQ(host.agreements, 0);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Cannot create " + state.Paths.FnSettings});
    EXPECT_EQ(LinesOf(SettingsFileText(state.Settings)), defaultLines);
    EXPECT_EQ(ReadWholeFile(state.Paths.FnSettings + "/keep"), "mine");
}

// A bare criterion with a stray quote reads as a text, so it filters nothing. Were that text saved
// with its quote unchanged, the quote would end it early: after the next start the criterion would
// read as the text "12", which is in force, and the symbols would be screened by a bound the user
// never set. Text items are therefore written with a single quote in place of a double one.
TEST_F(DamagedSettingsTest, ADamagedCriterionStaysSwitchedOffAcrossASave)
{
    Lines lines = customLines;
    lines[9] = "12\"5"; // MinMktCap
    (void)LoadedFrom(Joined(lines, FieldCount));
    ASSERT_FALSE(state.Settings.MinMktCap.InForce().has_value());
    ASSERT_TRUE(WriteSettings(state.Settings, state.Paths.FnSettings));
    UserSettings restarted;
    ASSERT_TRUE(ReadSettings(restarted, state.Paths.FnSettings));
    EXPECT_FALSE(restarted.MinMktCap.InForce().has_value());
}
