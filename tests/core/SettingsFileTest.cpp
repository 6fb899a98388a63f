// The settings file: its exact bytes, every field's round trip, and damaged files as start-up meets
// them: whatever the file holds, start-up goes on, every field that reads intact takes effect, every
// other one keeps its default, and the file on disk is left exactly as it was found. How the login
// line divides into user name and password is a table (cases/tables/base64.tsv).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "support/FileLines.h"
#include "support/SettingsPrinting.h"
#include "support/TemporaryDirectory.h"

namespace {

using namespace std::string_literals;
constexpr std::size_t FieldCount = 36;

// The file as written by a freshly defaulted program in /p (field 35 is the only path in it).
const Lines DefaultLines = {
    "\"STk9SVkFMRTpsYW50ZXJuNA==\"", "\"localhost\"", "80",
    "\"/cgi-bin/getquote.dll?TICKER=\"", "\"/cgi-bin/options.dll?TICKER=\"", "\"\"", "0.05",
    "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"",
    "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"100\"",
    "\"NA\"", "\"0.375\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"25\"", "\"25\"", "1", "3",
    "\"/p/Symbols.sym\"", "#FALSE#",
};

UserSettings Defaults(const std::string& fnSym = "/p/Symbols.sym")
{
    UserSettings settings;
    settings.FnSym = fnSym;
    SetDefaults(settings);
    return settings;
}

// Every field away from its default, with the awkward values a user may enter.
UserSettings Unusual()
{
    UserSettings s;
    s.UserName = "trader";
    s.Password = "pa:ss:word";
    s.Credentials = CredentialsOf(s.UserName, s.Password);
    s.DnsName = "quotes.example.net";
    s.PortNumber = 65535;
    s.GetQuoteString = "/q?s=";
    s.GetOptionsQuoteString = "/o?s=";
    s.SwitchText = "x, y";
    s.InterestRate = 0.0575f;
    for (Criterion* criterion :
         {&s.MaxVolume, &s.MinLast, &s.MaxLast, &s.MinBeta, &s.MaxBeta, &s.MinPctChange, &s.MaxPctChange,
          &s.MinYield, &s.MaxYield, &s.MinRange, &s.MaxRange, &s.MinOptVol, &s.MinOptInt, &s.MinOptPctVol,
          &s.MinTimeVal, &s.MaxIntVal, &s.MinQVAC, &s.MinQVAP, &s.MinQVAC_QVAP, &s.MinQVAP_QVAC})
        *criterion = Criterion::Number(1.5);
    s.MinPE = Criterion::Number(0.375);
    s.MaxPE = Criterion::Text("0.375");
    s.MinMktCap = Criterion::Number(-12.5);
    s.MaxMktCap = Criterion::Number(1e-05);
    s.MinVolume = Criterion::Number(123456789012.0);
    s.AvgQVAusing = 0;
    s.DrvQVAfrom = -32768;
    s.FnSym = "/home/u/My Symbols/tech.sym";
    s.GetQuoteFromLocalFile = true;
    return s;
}

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest()
    {
        PrepareSharedState(state, dir.Path());
        defaultLines = LinesOf(SettingsFileText(Defaults(state.Paths.DefaultFnSym)));
        unusualLines = LinesOf(SettingsFileText(Unusual()));
    }

    UserSettings ReadOver(UserSettings before)
    {
        EXPECT_TRUE(ReadSettings(before, fn));
        return before;
    }

    // Start-up's loading of `content`; the settings in effect afterwards, as their file lines.
    Lines LoadedFrom(const std::string& content)
    {
        EXPECT_TRUE(ReplaceFile(fn, content));
        EXPECT_TRUE(LoadSettingsOrDefaults(state));
        EXPECT_EQ(ReadWholeFile(fn), content) << "a readable file is never rewritten";
        return LinesOf(SettingsFileText(state.Settings));
    }

    TemporaryDirectory dir;
    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    const std::string fn = dir.File("Quillon.---");
    Lines defaultLines;
    Lines unusualLines;
};

} // namespace

TEST_F(SettingsFileTest, DefaultsMakeThirtySixLinesReadableByTheOwnerOnly)
{
    ASSERT_TRUE(WriteSettings(Defaults(), fn));
    EXPECT_EQ(ReadWholeFile(fn), Joined(DefaultLines, FieldCount));
    struct stat info {};
    ASSERT_EQ(::stat(fn.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    const UserSettings back = ReadOver(UserSettings{});
    EXPECT_EQ(back, Defaults());
    EXPECT_EQ(back.UserName, "NORVALE");
    EXPECT_EQ(back.Password, "lantern4");
}

TEST_F(SettingsFileTest, EveryFieldSurvivesAWriteAndReadWithAnyLineEnd)
{
    ASSERT_TRUE(WriteSettings(Unusual(), fn));
    const Lines lines = LinesOf(*ReadWholeFile(fn));
    EXPECT_EQ(lines[7], "0.375");     // a number criterion is bare ...
    EXPECT_EQ(lines[8], "\"0.375\""); // ... a text criterion quoted, and each reads back as it was
    EXPECT_EQ(lines[10], "1E-05");
    EXPECT_EQ(lines[11], "123456789012");
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const auto& line : lines) text += line + end;
        ASSERT_TRUE(ReplaceFile(fn, text));
        EXPECT_EQ(ReadOver(Defaults("/elsewhere")), Unusual()) << "line end " << int(end[0]);
    }
}

TEST_F(SettingsFileTest, AMissingFileReadsAsFalseAndAFailedWriteLeavesTheOldFile)
{
    UserSettings s = Unusual();
    EXPECT_FALSE(ReadSettings(s, dir.File("absent")));
    EXPECT_FALSE(ReadSettings(s, dir.Path()));
    EXPECT_EQ(s, Unusual());

    ASSERT_TRUE(WriteSettings(Defaults(), fn));
    EXPECT_FALSE(WriteSettings(Unusual(), dir.File("no/such/dir/Quillon.---")));
    // A directory where the temporary file would go stops the write, even for root.
    std::filesystem::create_directory(fn + std::string(TemporarySuffix));
    EXPECT_FALSE(WriteSettings(Unusual(), fn));
    EXPECT_EQ(LinesOf(*ReadWholeFile(fn)), DefaultLines);
    EXPECT_EQ(CannotCreateText("/d/Quillon.---"), "Cannot create /d/Quillon.---");
}

TEST(SetDefaults, EachGroupResetsOnlyItsOwnFields)
{
    const Lines unusual = LinesOf(SettingsFileText(Unusual()));
    const struct {
        void (*reset)(UserSettings&);
        std::size_t first, last;
    } groups[] = {{SetQuoteServerDefaults, 2, 6}, {SetFilterDefaults, 8, 34}, {SetDefaults, 1, 36}};
    for (const auto& group : groups) {
        UserSettings s = Unusual();
        group.reset(s);
        const Lines lines = LinesOf(SettingsFileText(s));
        ASSERT_EQ(lines.size(), FieldCount);
        for (std::size_t number = 1; number <= FieldCount; ++number) {
            const bool reset = number >= group.first && number <= group.last && number != 35;
            EXPECT_EQ(lines[number - 1], reset ? DefaultLines[number - 1] : unusual[number - 1])
                << "field " << number << " after resetting " << group.first << ".." << group.last;
        }
    }
}

TEST_F(SettingsFileTest, AFileCutAfterAnyLineTakesTheLinesBeforeTheCutAndDefaultsForTheRest)
{
    ASSERT_EQ(unusualLines.size(), FieldCount);
    for (std::size_t kept = 0; kept <= FieldCount; ++kept) {
        const Lines loaded = LoadedFrom(Joined(unusualLines, kept));
        ASSERT_EQ(loaded.size(), FieldCount);
        for (std::size_t i = 0; i < FieldCount; ++i)
            ASSERT_EQ(loaded[i], i < kept ? unusualLines[i] : defaultLines[i])
                << kept << " lines kept, field " << i + 1;
    }
    // The last line without its line end is read all the same.
    std::string unended = Joined(unusualLines, FieldCount);
    unended.resize(unended.size() - 2);
    EXPECT_EQ(LoadedFrom(unended), unusualLines);
}

TEST_F(SettingsFileTest, ADamagedLineChangesOnlyItsOwnField)
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
        Lines lines = unusualLines;
        lines[row.field - 1] = row.line;
        const Lines loaded = LoadedFrom(Joined(lines, FieldCount));
        ASSERT_EQ(loaded.size(), FieldCount);
        for (std::size_t i = 0; i < FieldCount; ++i) {
            const bool damaged = i == row.field - 1;
            const std::string& expected =
                !damaged ? unusualLines[i] : row.takesEffect.empty() ? defaultLines[i] : row.takesEffect;
            ASSERT_TRUE(loaded[i] == expected) << "field " << i + 1 << " reads " << loaded[i].substr(0, 40);
        }
    }
    // A criterion that became a text filters nothing (field 10 of the last row).
    EXPECT_FALSE(state.Settings.MinMktCap.InForce().has_value());
}

// A bare criterion with a stray quote reads as a text, so it filters nothing. Were that text saved
// with its quote unchanged, the quote would end it early: after the next start the criterion would
// read as the text "12", which is in force, and the symbols would be screened by a bound the user
// never set. Text items are therefore written with a single quote in place of a double one.
TEST_F(SettingsFileTest, ADamagedCriterionStaysSwitchedOffAcrossASave)
{
    Lines lines = unusualLines;
    lines[9] = "12\"5"; // MinMktCap
    (void)LoadedFrom(Joined(lines, FieldCount));
    ASSERT_FALSE(state.Settings.MinMktCap.InForce().has_value());
    ASSERT_TRUE(WriteSettings(state.Settings, fn));
    UserSettings restarted;
    ASSERT_TRUE(ReadSettings(restarted, fn));
    EXPECT_FALSE(restarted.MinMktCap.InForce().has_value());
}
