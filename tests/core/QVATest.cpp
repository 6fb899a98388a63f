// The QVA computation beyond its table (cases/tables/qva.tsv, one row per option situation): the
// option symbols it builds and a stock the model cannot price.

#include <gtest/gtest.h>

#include "support/ExampleQuote.h"
#include "core/numbers/ArithmeticFault.h"
#include "core/quotes/QVA.h"

TEST(QVA, WithoutOptionDataEverythingIsAbsentButSymbolsAreBuilt)
{
    QuoteData quote = BareQuote();
    quote.Series.OptSymbol[Puts][2][0] = "XYZ MN";
    ComputeQVA(quote, UserSettings{});
    for (int side : {Calls, Puts}) {
        EXPECT_EQ(quote.QVA.QVAAverage[side], -1);
        for (int strike = 1; strike <= 3; ++strike)
            for (int expiration = 0; expiration < 2; ++expiration) {
                EXPECT_EQ(quote.Series.OptQVA[side][strike][expiration], -1);
                EXPECT_EQ(quote.Series.OptNote[side][strike][expiration], OptionNote::NotIncluded);
            }
    }
    EXPECT_EQ(quote.Series.OptSymbol[Calls][1][0], "XYZBI"); // February call, strike 45
    EXPECT_EQ(quote.Series.OptSymbol[Calls][3][1], "XYZCK"); // March call, strike 55
    EXPECT_EQ(quote.Series.OptSymbol[Puts][1][1], "XYZOI");  // March put, strike 45
    EXPECT_EQ(quote.Series.OptSymbol[Puts][2][0], "XYZ MN"); // a symbol from the page stays
}

TEST(QVA, AStockAtZeroIsHarmlessUntilAnOptionIsSolved)
{
    QuoteData quote = BareQuote();
    UserSettings settings;
    settings.InterestRate = 0.05f;
    quote.Stock.LastSale = 0;
    EXPECT_NO_THROW(ComputeQVA(quote, settings));
    quote.Stock.LastSale = 50;
    const float price = ModelPrice(quote, settings.InterestRate, Calls, 2, 0, 0.3f);
    SetOption(quote, Calls, 2, 0, price, price, price, 10, 10, -1, 0);
    quote.Stock.LastSale = 0;
    EXPECT_THROW(ComputeQVA(quote, settings), ArithmeticFault) << "no model for a stock at 0";
}
