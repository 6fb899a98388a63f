#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"
#include "support/SettingsPrinting.h"
#include "support/TemporaryDirectory.h"

namespace {

// The file as written by a freshly defaulted program in /p (field 35 is the only path in it).
const std::vector<std::string> DefaultLines = {
    "\"STk9SVkFMRTpsYW50ZXJuNA==\"", "\"localhost\"", "80",
    "\"/cgi-bin/getquote.dll?TICKER=\"", "\"/cgi-bin/options.dll?TICKER=\"", "\"\"", "0.05",
    "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"",
    "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"100\"",
    "\"NA\"", "\"0.375\"", "\"NA\"", "\"NA\"", "\"NA\"", "\"25\"", "\"25\"", "1", "3",
    "\"/p/Symbols.sym\"", "#FALSE#",
};

UserSettings Defaults(const std::string& fnSym)
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
    s.MinPE = Criterion::Number(0.375);
    s.MaxPE = Criterion::Text("0.375");
    s.MinMktCap = Criterion::Number(-12.5);
    s.MaxMktCap = Criterion::Number(1e-05);
    s.MinVolume = Criterion::Number(123456789012.0);
    s.MinQVAC_QVAP = Criterion::Text("NA");
    s.AvgQVAusing = 0;
    s.DrvQVAfrom = -32768;
    s.FnSym = "/home/u/My Symbols/tech.sym";
    s.GetQuoteFromLocalFile = true;
    return s;
}

std::vector<std::string> FileLines(const std::string& path)
{
    const auto content = ReadWholeFile(path);
    std::vector<std::string> lines;
    if (content)
        for (const auto line : SplitLines(*content)) lines.emplace_back(line);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::size_t count, const char* end)
{
    std::string text;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) text += lines[i] + end;
    return text;
}

void WriteRaw(const std::string& path, const std::string& content)
{
    ASSERT_TRUE(ReplaceFile(path, content));
}

class SettingsFileTest : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    const std::string fn = dir.File("Quillon.---");

    UserSettings ReadOver(UserSettings before)
    {
        EXPECT_TRUE(ReadSettings(before, fn));
        return before;
    }
};

} // namespace

TEST_F(SettingsFileTest, DefaultsMakeThirtySixLinesWithCriteriaAsQuotedTexts)
{
    ASSERT_TRUE(WriteSettings(Defaults("/p/Symbols.sym"), fn));
    const std::string bytes = *ReadWholeFile(fn);
    EXPECT_EQ(bytes, JoinLines(DefaultLines, DefaultLines.size(), "\r\n"));

    const UserSettings back = ReadOver(UserSettings{});
    EXPECT_EQ(back, Defaults("/p/Symbols.sym"));
    EXPECT_EQ(back.UserName, "NORVALE");
    EXPECT_EQ(back.Password, "lantern4");
    EXPECT_EQ(back.MinOptInt, Criterion::Text("100"));
    EXPECT_EQ(back.InterestRate, 0.05f);
}

TEST_F(SettingsFileTest, IsReadableByTheOwnerOnly)
{
    ASSERT_TRUE(WriteSettings(Defaults("/p/Symbols.sym"), fn));
    struct stat info {};
    ASSERT_EQ(::stat(fn.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SettingsFileTest, EveryFieldSurvivesAWriteAndRead)
{
    const UserSettings written = Unusual();
    ASSERT_TRUE(WriteSettings(written, fn));
    const UserSettings back = ReadOver(Defaults("/elsewhere"));
    EXPECT_EQ(back, written);
    EXPECT_EQ(back.Password, "pa:ss:word");

    const auto lines = FileLines(fn);
    EXPECT_EQ(lines[7], "0.375");     // a number criterion is bare ...
    EXPECT_EQ(lines[8], "\"0.375\""); // ... a text criterion quoted, and each reads back as it was
    EXPECT_EQ(lines[10], "1E-05");
    EXPECT_EQ(lines[11], "123456789012");
    EXPECT_TRUE(back.MinPE == Criterion::Number(0.375) && back.MaxPE.IsText());
}

TEST_F(SettingsFileTest, TheFirstColonOfTheLoginDividesUserNameAndPassword)
{
    const struct {
        std::string credentials, userName, password;
    } rows[] = {
        {CredentialsOf("us:er", "secret"), "us", "er:secret"},
        {CredentialsOf("u", ""), "u", ""},
        {"bm9jb2xvbg==", "nocolon", ""}, // all of it is the user name
        {"Og", "", ""}, // shorter than a group: decodes to nothing, but is kept as it is
    };
    for (const auto& row : rows) {
        UserSettings s = Defaults("/p");
        s.Credentials = row.credentials;
        ASSERT_TRUE(WriteSettings(s, fn));
        const UserSettings back = ReadOver(Defaults("/p"));
        EXPECT_EQ(back.Credentials, row.credentials);
        EXPECT_EQ(back.UserName, row.userName) << row.credentials;
        EXPECT_EQ(back.Password, row.password) << row.credentials;
    }
}

TEST_F(SettingsFileTest, AcceptsLoneLineFeedsAndLoneCarriageReturns)
{
    ASSERT_TRUE(WriteSettings(Unusual(), fn));
    const auto lines = FileLines(fn);
    for (const char* end : {"\n", "\r"}) {
        WriteRaw(fn, JoinLines(lines, lines.size(), end));
        EXPECT_EQ(ReadOver(Defaults("/p")), Unusual()) << "line end " << int(end[0]);
    }
}

TEST_F(SettingsFileTest, JunkNeverCrashesAndReadingStillSucceeds)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string junk(random() % 2000, '\0');
        for (char& c : junk) c = "\"\r\n,# 0.5-E:A\0\xff"[random() % 15];
        WriteRaw(fn, junk);
        UserSettings s = Defaults("/p");
        ASSERT_TRUE(ReadSettings(s, fn));
    }
}

TEST_F(SettingsFileTest, AMissingFileReadsAsFalseAndChangesNothing)
{
    UserSettings s = Unusual();
    EXPECT_FALSE(ReadSettings(s, dir.File("absent")));
    EXPECT_FALSE(ReadSettings(s, dir.Path()));
    EXPECT_EQ(s, Unusual());
}

TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFileAndNamesThePath)
{
    ASSERT_TRUE(WriteSettings(Defaults("/p/Symbols.sym"), fn));
    EXPECT_FALSE(WriteSettings(Unusual(), dir.File("no/such/dir/Quillon.---")));
    // A directory where the temporary file would go stops the write, even for root.
    std::filesystem::create_directory(fn + std::string(TemporarySuffix));
    EXPECT_FALSE(WriteSettings(Unusual(), fn));
    EXPECT_EQ(FileLines(fn), DefaultLines);
    EXPECT_EQ(CannotCreateText("/d/Quillon.---"), "Cannot create /d/Quillon.---");
}

TEST_F(SettingsFileTest, NumbersIgnoreADecimalCommaLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    ASSERT_TRUE(WriteSettings(Unusual(), fn));
    const auto lines = FileLines(fn);
    const UserSettings back = ReadOver(Defaults("/p"));
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(lines[6], "0.0575");
    EXPECT_EQ(lines[9], "-12.5");
    EXPECT_EQ(back, Unusual());
}

TEST(SetDefaults, EachGroupResetsOnlyItsOwnFields)
{
    const auto TextLines = [](const UserSettings& settings) {
        std::vector<std::string> lines;
        const std::string text = SettingsFileText(settings);
        for (const auto line : SplitLines(text)) lines.emplace_back(line);
        return lines;
    };
    const auto unusual = TextLines(Unusual());
    const struct {
        void (*reset)(UserSettings&);
        std::size_t first, last;
    } groups[] = {{SetQuoteServerDefaults, 2, 6}, {SetFilterDefaults, 8, 34}, {SetDefaults, 1, 36}};
    for (const auto& group : groups) {
        UserSettings s = Unusual();
        group.reset(s);
        const auto lines = TextLines(s);
        ASSERT_EQ(lines.size(), 36u);
        for (std::size_t number = 1; number <= 36; ++number) {
            const bool reset = number >= group.first && number <= group.last && number != 35;
            EXPECT_EQ(lines[number - 1], reset ? DefaultLines[number - 1] : unusual[number - 1])
                << "field " << number << " after resetting " << group.first << ".." << group.last;
        }
    }
}
