// The end-of-pass line: what is named, in which number, and what is left out when it is zero.
#include <gtest/gtest.h>

#include "core/run/PassTally.h"

TEST(PassTallyText, NamesEachCountAndOnlyTheFailuresAndMissingSymbolsThereAre)
{
    using O = SymbolOutcome;
    const struct {
        std::vector<O> outcomes;
        int missing;
        const char* text;
    } rows[] = {
        {{}, 0, "Pass done: 0 symbols evaluated, 0 with quotes, 0 without, 0 saved."},
        {{O::Saved}, 0, "Pass done: 1 symbol evaluated, 1 with quotes, 0 without, 1 saved."},
        {{O::Saved, O::ScreenedOut, O::NoQuotes, O::NoQuotes, O::Error}, 0,
         "Pass done: 5 symbols evaluated, 2 with quotes, 2 without, 1 saved, 1 failed."},
        {{O::ScreenedOut, O::NoQuotes, O::NoQuotes}, 2,
         "Pass done: 3 symbols evaluated, 1 with quotes, 2 without, 0 saved. 2 of 3 symbols are not in Quote.txt."},
        {{O::NoQuotes, O::ScreenedOut}, 1,
         "Pass done: 2 symbols evaluated, 1 with quotes, 1 without, 0 saved. 1 of 2 symbols is not in Quote.txt."},
    };
    for (const auto& row : rows) {
        PassTally tally;
        for (const O outcome : row.outcomes) tally.Count(outcome);
        tally.MissingFromQuoteFile = row.missing;
        EXPECT_EQ(PassTallyText(tally), row.text);
    }
}
