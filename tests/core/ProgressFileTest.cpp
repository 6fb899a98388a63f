// Writing the progress record; what reads as a record is in cases/tables/damaged-records.tsv.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/run/ProgressFile.h"
#include "core/text/TextFile.h"
#include "support/TemporaryDirectory.h"

TEST(WriteProgress, WritesOneCrLfLineAndAFailedWriteKeepsTheOldRecord)
{
    const TemporaryDirectory dir;
    const std::string path = dir.File("Progress.---");
    ASSERT_TRUE(WriteProgress(path, 0, 30000));
    EXPECT_EQ(ReadWholeFile(path), "0,30000\r\n");
    ASSERT_TRUE(WriteProgress(path, 2, 5));
    EXPECT_EQ(ReadWholeFile(path), "2,5\r\n");
    // A directory in the temporary file's place makes the write fail before the rename.
    std::filesystem::create_directory(path + std::string(TemporarySuffix));
    EXPECT_FALSE(WriteProgress(path, 3, 6));
    EXPECT_EQ(ReadWholeFile(path), "2,5\r\n");
}
