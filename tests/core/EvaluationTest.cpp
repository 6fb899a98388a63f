#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "support/ExampleQuote.h"
#include "support/LoggingRunHost.h"
#include "support/TemporaryDirectory.h"
#include "core/numbers/ArithmeticFault.h"
#include "core/text/TextFile.h"
#include "core/run/Evaluation.h"
#include "core/run/ProgressFile.h"

// The files of a whole pass (good, bad and saved lists, the numbered blocks, the progress record,
// the alarm) are the replay cases' (cases/cli/replay-*); here the edges of one symbol's evaluation.
namespace {

// A whole program directory and a symbol whose options are priced by the model, so that the QVA
// computation includes exactly the options a test prices.
class EvaluateSymbolTest : public ::testing::Test {
protected:
    EvaluateSymbolTest()
    {
        state.Paths = FilePaths::Build(dir.Path());
        FillExample(state);
        state.Run.SavedCount = 0;
        ClearOptions(state.Quote);
    }

    void PriceOption(int side, int s, int e, float sigma, float volume = 100, float openInterest = 500)
    {
        const float price = ModelPrice(state.Quote, state.Settings.InterestRate, side, s, e, sigma);
        SetOption(state.Quote, side, s, e, price, price, price, volume, openInterest, -1.0f, 0);
    }

    std::string Read(const std::string& path) const { return ReadWholeFile(path).value_or("<missing>"); }
    bool Exists(const std::string& path) const { return FileExists(path); }
    std::size_t ResultsBlocks() const
    {
        const std::string results = ReadWholeFile(state.Paths.FnResults).value_or("");
        return static_cast<std::size_t>(std::count(results.begin(), results.end(), '\f'));
    }

    TemporaryDirectory dir;
    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
    SharedState state{clock};
    std::vector<std::string> log;
    LoggingRunHost host{log};
};

} // namespace

TEST_F(EvaluateSymbolTest, NegativeVolumeSkipsTheScreenAndTheVerdict)
{
    PriceOption(Calls, 2, 0, 0.30f);
    state.Quote.Stock.Volume = -1;
    EvaluateSymbol(state, host, 1);
    EXPECT_EQ(state.Run.Verdict, SymbolVerdict::NotSaved);
    EXPECT_FALSE(Exists(state.Paths.FnResults));
    EXPECT_EQ(Read(state.Paths.FnProgress), "0,17\r\n");
}

TEST_F(EvaluateSymbolTest, FlatYearRangeDoesNotEndTheEvaluation)
{
    PriceOption(Calls, 2, 0, 0.30f);
    state.Quote.Stock.High52Week = 45.375f;
    state.Quote.Stock.Low52Week = 45.375f;
    EvaluateSymbol(state, host, 1);
    EXPECT_EQ(state.Run.Verdict, SymbolVerdict::OptionIncluded);
    EXPECT_EQ(Read(state.Paths.FnProgress), "1,17\r\n");

    state.Settings.MaxRange = Criterion::Number(100);
    EvaluateSymbol(state, host, 1);
    EXPECT_EQ(state.Run.Verdict, SymbolVerdict::NotSaved);
    EXPECT_EQ(ResultsBlocks(), 1u);
    EXPECT_EQ(Read(state.Paths.FnProgress), "1,17\r\n");
}

TEST_F(EvaluateSymbolTest, ArithmeticFaultEndsTheEvaluationBeforeAnyRecord)
{
    const float huge = std::numeric_limits<float>::max();
    SetOption(state.Quote, Calls, 1, 0, huge, huge, huge, 10, 10, -1.0f, 0); // the mid price overflows
    ASSERT_TRUE(WriteProgress(state.Paths.FnProgress, 0, 16));
    EXPECT_THROW(EvaluateSymbol(state, host, 1), ArithmeticFault);
    EXPECT_TRUE(Exists(state.Paths.FnGoodSym));
    EXPECT_FALSE(Exists(state.Paths.FnResults));
    EXPECT_EQ(Read(state.Paths.FnProgress), "0,16\r\n");
}

TEST_F(EvaluateSymbolTest, LostResultsBlockLeavesTheCountAlone)
{
    std::filesystem::create_directory(state.Paths.FnResults);
    PriceOption(Calls, 2, 0, 0.30f);
    EvaluateSymbol(state, host, 1);
    EXPECT_EQ(state.Run.Verdict, SymbolVerdict::OptionIncluded);
    EXPECT_EQ(state.Run.SavedCount, 0);
    EXPECT_TRUE(Exists(state.Paths.FnSavedSym));
    EXPECT_EQ(Read(state.Paths.FnProgress), "0,17\r\n");
}

TEST_F(EvaluateSymbolTest, TrailingBlanksOfTheNameAreTrimmedEverywhere)
{
    state.Quote.Stock.CompanyName = std::string(50, 'W') + "  ";
    PriceOption(Calls, 2, 0, 0.30f);
    EvaluateSymbol(state, host, 1);
    EXPECT_EQ(state.Quote.Stock.CompanyName, std::string(50, 'W'));
    EXPECT_EQ(Read(state.Paths.FnGoodSym), "QRX     QRX  " + std::string(50, 'W') + "\r\n");
}
