// The results block of the example quote against the reference block, byte for byte; lines of
// changed quotes are rows of cases/tables/results-block.tsv.

#include <gtest/gtest.h>

#include "support/ExampleQuote.h"
#include "core/SharedState.h"
#include "core/text/TextFile.h"
#include "core/report/ResultsBlock.h"

TEST(ResultsBlock, MatchesTheReferenceBlockByteForByte)
{
    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
    SharedState state{clock};
    FillExample(state);
    const auto expected = ReadWholeFile(QUILLON_TEST_DATA "/report/FullBlock.expected");
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(BuildResultsBlock(state), *expected); // a failure shows the lines that differ
}
