#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/settings/Criterion.h"
#include "core/settings/SettingsFile.h"

TEST(ValueCheck, TakesWhatReadsAsANumber)
{
    const struct {
        const char* entry;
        double number;
    } numbers[] = {
        {"12.5", 12.5}, {" 3 ", 3},    {"\t-0.25\t", -0.25}, {"+3", 3}, {".5", 0.5},
        {"5.", 5},      {"1E-05", 1e-05}, {"2e3", 2000},      {"0", 0},
    };
    for (const auto& n : numbers) {
        const Criterion c = ValueCheck(n.entry);
        ASSERT_FALSE(c.IsText()) << n.entry;
        EXPECT_EQ(c.NumberValue(), n.number) << n.entry;
        EXPECT_EQ(c.InForce(), n.number) << n.entry;
    }
}

TEST(ValueCheck, SwitchesEverythingElseOff)
{
    for (const char* entry : {"", "   ", "none", "NA", "5%", "$5", "1,000", "1.2.3", ".", "-",
                              "1E", "12 5", "0x10", "inf", "nan", "3 1/2"}) {
        EXPECT_EQ(ValueCheck(entry), Criterion::Text("NA")) << '"' << entry << '"';
        EXPECT_FALSE(ValueCheck(entry).InForce()) << entry;
    }
}

TEST(ValueCheck, IgnoresADecimalCommaLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const Criterion point = ValueCheck("0.375");
    const Criterion comma = ValueCheck("0,375");
    const std::string shown = Criterion::Number(1234.5).DisplayText();
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(point, Criterion::Number(0.375));
    EXPECT_EQ(comma, Criterion::Text("NA"));
    EXPECT_EQ(shown, "1234.5");
}

// Opening the filter dialog shows each criterion's text; closing it takes every box back through
// ValueCheck. Right after the defaults that turns the quoted defaults into numbers.
TEST(Criterion, ShowingAndTakingBackTurnsDefaultTextsIntoNumbers)
{
    UserSettings settings;
    SetFilterDefaults(settings);
    for (Criterion* c : {&settings.MinOptInt, &settings.MinTimeVal, &settings.MinQVAC_QVAP,
                         &settings.MinPE, &settings.MaxRange})
        *c = ValueCheck(c->DisplayText());
    EXPECT_EQ(settings.MinOptInt, Criterion::Number(100));
    EXPECT_EQ(settings.MinTimeVal, Criterion::Number(0.375));
    EXPECT_EQ(settings.MinQVAC_QVAP, Criterion::Number(25));
    EXPECT_EQ(settings.MinPE, Criterion::Text("NA"));
    EXPECT_EQ(settings.MaxRange, Criterion::Text("NA"));
    EXPECT_EQ(ValueCheck(Criterion::Number(1e-05).DisplayText()), Criterion::Number(1e-05));
}
