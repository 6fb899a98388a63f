// Names in the program directory where somebody planted a link to a file elsewhere (the login in
// Quillon.--- written over a file of theirs) or a FIFO (a run that never ends): nothing is written
// through them, nothing blocks on them, and a replaced file still gets its own new file.

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TemporaryDirectory.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"
#include "core/run/PassOutputFiles.h"
#include "core/run/ProgressFile.h"

namespace {

enum class Planted { LinkOutside, Fifo };

class PlantedFileTest : public ::testing::TestWithParam<Planted> {
protected:
    void Plant(const std::string& path)
    {
        if (GetParam() == Planted::LinkOutside)
            ASSERT_EQ(::symlink(outsideFile.c_str(), path.c_str()), 0) << path;
        else
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
    }
    void ExpectOutsideUntouched() { EXPECT_EQ(ReadWholeFile(outsideFile), "5,6\r\n"); }

    TemporaryDirectory outside;
    TemporaryDirectory dir;
    std::string outsideFile = outside.File("theirs");
    FilePaths paths = FilePaths::Build(dir.Path());
    void SetUp() override { ASSERT_TRUE(ReplaceFile(outsideFile, "5,6\r\n")); }
};

} // namespace

TEST_P(PlantedFileTest, EveryOutputFileOfAPassIsSkippedLikeAnUnopenableOne)
{
    PassOutputFiles outputs;
    for (const PassFileRule& rule : PassFileRules) {
        Plant(paths.*rule.Path);
        EXPECT_FALSE(outputs.Append(paths, rule.File, "AAA\r\n")) << paths.*rule.Path;
    }
    EXPECT_FALSE(outputs.Failure()); // refused at the open, not a failed write: the run goes on
    ExpectOutsideUntouched();
}

TEST_P(PlantedFileTest, ProgressRecordIsNeitherReadNorWrittenThrough)
{
    Plant(paths.FnProgress);
    EXPECT_FALSE(ReadProgress(paths.FnProgress)); // although "5,6" would read
    PassOutputFiles outputs;
    outputs.RecordProgress(paths, 1, 2);
    EXPECT_FALSE(WriteProgress(paths.FnProgress, 1, 2));
    ExpectOutsideUntouched();
}

TEST_P(PlantedFileTest, SettingsReplaceThePlantedTemporary)
{
    Plant(paths.FnSettings + std::string(TemporarySuffix));
    UserSettings settings;
    SetDefaults(settings);
    ASSERT_TRUE(WriteSettings(settings, paths.FnSettings));
    ExpectOutsideUntouched();
    struct stat status {};
    ASSERT_EQ(::lstat(paths.FnSettings.c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_FALSE(std::filesystem::exists(paths.FnSettings + std::string(TemporarySuffix)));
}

INSTANTIATE_TEST_SUITE_P(Planted, PlantedFileTest, ::testing::Values(Planted::LinkOutside, Planted::Fifo));
