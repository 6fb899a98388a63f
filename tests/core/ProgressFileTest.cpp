#include <gtest/gtest.h>

#include <filesystem>

#include "support/TemporaryDirectory.h"
#include "core/text/TextFile.h"
#include "core/run/ProgressFile.h"

namespace {

using Record = std::pair<std::int16_t, std::int16_t>;

class ProgressFileTest : public ::testing::Test {
protected:
    std::optional<Record> ReadBack(const std::string& content)
    {
        EXPECT_TRUE(ReplaceFile(path, content));
        return ReadProgress(path);
    }
    TemporaryDirectory dir;
    std::string path = dir.File("Progress.---");
};

} // namespace

TEST_F(ProgressFileTest, WritesOneCrLfLineAndReadsItBack)
{
    ASSERT_TRUE(WriteProgress(path, 3, 17));
    EXPECT_EQ(ReadWholeFile(path), "3,17\r\n");
    EXPECT_EQ(ReadProgress(path), Record(3, 17));

    ASSERT_TRUE(WriteProgress(path, 0, 30000));
    EXPECT_EQ(ReadWholeFile(path), "0,30000\r\n");
    EXPECT_EQ(ReadProgress(path), Record(0, 30000));
}

TEST_F(ProgressFileTest, AcceptsEveryLineEndAndBlanksAroundNumbers)
{
    EXPECT_EQ(ReadBack("3,17"), Record(3, 17));
    EXPECT_EQ(ReadBack("3,17\n"), Record(3, 17));
    EXPECT_EQ(ReadBack("3,17\rjunk"), Record(3, 17));
    EXPECT_EQ(ReadBack(" 4 , 9 \r\n"), Record(4, 9));
}

TEST_F(ProgressFileTest, DamagedRecordsReadAsNothing)
{
    for (const char* content : {"", "\r\n", "3", "3,", ",17", "-1,5", "3,-17", "99999,1", "3,40000",
                                "30001,1", "x,y", "3;17", "3.5,17", "3,17,",
                                "2147483648,1", "\r\n3,17\r\n"}) {
        EXPECT_FALSE(ReadBack(content).has_value()) << '"' << content << '"';
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(ReadProgress(path).has_value());
}

TEST_F(ProgressFileTest, FailedWriteKeepsTheOldRecord)
{
    ASSERT_TRUE(WriteProgress(path, 2, 5));
    // A directory in the temporary file's place makes the write fail before the rename.
    std::filesystem::create_directory(path + std::string(TemporarySuffix));
    EXPECT_FALSE(WriteProgress(path, 3, 6));
    EXPECT_EQ(ReadProgress(path), Record(2, 5));
}

TEST(ParseSavedCountField, ReadsOnlyTheFirstField)
{
    EXPECT_EQ(ParseSavedCountField("3,17\r\n"), 3);
    EXPECT_EQ(ParseSavedCountField("3,garbage"), 3);
    EXPECT_EQ(ParseSavedCountField("12"), 12);
    EXPECT_FALSE(ParseSavedCountField("").has_value());
    EXPECT_FALSE(ParseSavedCountField("NA,17").has_value());
    EXPECT_FALSE(ParseSavedCountField("-3,17").has_value());
    EXPECT_FALSE(ParseSavedCountField("70000,1").has_value());
}
