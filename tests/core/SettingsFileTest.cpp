// The settings file: its exact bytes, every field's round trip, and damaged files as start-up meets
// them: whatever the file holds, start-up goes on, every field that reads intact takes effect, every
// other one keeps its default, and the file on disk is left exactly as it was found. How the login
// line divides into user name and password is a table (cases/tables/base64.tsv), and so are damaged
// lines (cases/tables/settings-lines.tsv). data/settings holds the defaults' file and one with every
// field away from its default, with the awkward values a user may enter.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "support/FileLines.h"
#include "support/TemporaryDirectory.h"

// Lets a failing comparison of settings show them as the lines of their file (found by argument
// lookup, so outside the unnamed namespace).
void PrintTo(const UserSettings& settings, std::ostream* out)
{
    *out << "\n" << SettingsFileText(settings);
}

namespace {

constexpr std::size_t FieldCount = 36;

const std::string Data = QUILLON_TEST_DATA "/settings/";

UserSettings Defaults(const std::string& fnSym = "/p/Symbols.sym")
{
    UserSettings settings;
    settings.FnSym = fnSym;
    SetDefaults(settings);
    return settings;
}

UserSettings Unusual()
{
    UserSettings settings;
    EXPECT_TRUE(ReadSettings(settings, Data + "Unusual.---"));
    return settings;
}

Lines FileLines(const std::string& path) { return LinesOf(ReadWholeFile(path).value_or("")); }

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest()
    {
        PrepareSharedState(state, dir.Path());
        defaultLines = LinesOf(SettingsFileText(Defaults(state.Paths.DefaultFnSym)));
        unusualLines = FileLines(Data + "Unusual.---");
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
    EXPECT_EQ(ReadWholeFile(fn), ReadWholeFile(Data + "Defaults.---"));
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
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const auto& line : unusualLines) text += line + end;
        ASSERT_TRUE(ReplaceFile(fn, text));
        ASSERT_TRUE(WriteSettings(ReadOver(Defaults("/elsewhere")), fn));
        EXPECT_EQ(ReadWholeFile(fn), ReadWholeFile(Data + "Unusual.---")) << "line end " << int(end[0]);
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
    EXPECT_EQ(FileLines(fn), FileLines(Data + "Defaults.---"));
    EXPECT_EQ(CannotCreateText("/d/Quillon.---"), "Cannot create /d/Quillon.---");
}

TEST(SetDefaults, EachGroupResetsOnlyItsOwnFields)
{
    const Lines unusual = FileLines(Data + "Unusual.---"), defaults = FileLines(Data + "Defaults.---");
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
            EXPECT_EQ(lines[number - 1], reset ? defaults[number - 1] : unusual[number - 1])
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
