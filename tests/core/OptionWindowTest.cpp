// The per-option rules that the QVA computation, the verdict, the quote cache and the report share;
// the price used, the exercise gain and the option roots are rows of cases/tables/option-rows.tsv.

#include <gtest/gtest.h>

#include "core/quotes/OptionWindow.h"

namespace {

TEST(OptionSymbolOf, BuildsRootMonthAndStrikeLettersWhereThePageGaveNone)
{
    QuoteData quote;
    quote.Stock.OptionRoot = "QRX";
    quote.Calendar.ExpiryMonthCode[Puts][1] = 'R';
    quote.Strikes.StrikeCode[2] = 'I';
    EXPECT_EQ(OptionSymbolOf(quote, Puts, 2, 1), "QRXRI");
    quote.Strikes.StrikeCode[2] = '\0'; // a letter the tables could not give is left out
    EXPECT_EQ(OptionSymbolOf(quote, Puts, 2, 1), "QRXR");
    quote.Series.OptSymbol[Puts][2][1] = "QRQRI";
    EXPECT_EQ(OptionSymbolOf(quote, Puts, 2, 1), "QRQRI");
}

} // namespace
