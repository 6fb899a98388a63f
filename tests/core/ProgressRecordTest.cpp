// The progress record rewritten in place: whatever stood in the file before, the file ends as the
// one record. (The moment between the write and the cut is a row of damaged-records.tsv.)

#include <gtest/gtest.h>

#include "support/TemporaryDirectory.h"
#include "core/text/TextFile.h"
#include "core/run/ProgressFile.h"

namespace {

struct Rewrite {
    std::string before;
    std::int16_t savedCount, symbolIndex;
    std::string after;
};

const Rewrite Rewrites[] = {
    {"0,30000\r\n", 3, 17, "3,17\r\n"},   // shorter: the old tail is cut
    {"3,17\r\n", 12, 345, "12,345\r\n"},  // longer
    {"", 0, 1, "0,1\r\n"},                // a file created empty and killed before its first record
    {"9,99", 9, 100, "9,100\r\n"},        // an edited record without a line end
};

} // namespace

TEST(ProgressRecord, RewrittenInPlaceEndsAsTheOneRecord)
{
    TemporaryDirectory dir;
    const std::string path = dir.File("Progress.---");
    for (const Rewrite& row : Rewrites) {
        ASSERT_TRUE(ReplaceFile(path, row.before));
        ProgressRecord record;
        ASSERT_TRUE(record.Open(path));
        EXPECT_EQ(record.Write(row.savedCount, row.symbolIndex), 0);
        EXPECT_EQ(ReadWholeFile(path), row.after) << row.before;
    }
}
