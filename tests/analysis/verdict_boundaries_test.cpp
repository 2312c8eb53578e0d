// The passing, functional and storage verdicts at the edges of their bands.
#include "analysis_test_support.h"

namespace trelvane::test {
namespace {

constexpr const char *kPassOk = "Passing trackage is ADEQUATE.";
constexpr const char *kFuncOk = "Functional trackage is ADEQUATE.";
constexpr const char *kFuncMarginal = "Functional trackage is MARGINAL.";
constexpr const char *kFuncSaturated = "Functional trackage is SATURATED!";
constexpr const char *kStorOk = "Yard capacity is ADEQUATE.";
constexpr const char *kStorMarginal = "Yard capacity is MARGINAL.";
constexpr const char *kStorSaturated = "Yards are SATURATED!";

struct VerdictRow {
    const char *name;
    int scale;
    std::int16_t pass, func, stor;
    std::int32_t fortyFootCars;
    std::int16_t funcPct, storPct; // the percentages the row stands on
    const char *passSuggestion, *funcStatus, *funcSuggestion, *storStatus, *storSuggestion;
};

class VerdictTest : public ::testing::TestWithParam<VerdictRow> {};

TEST_P(VerdictTest, givesTheTextsOfItsBand)
{
    const VerdictRow &row = GetParam();
    stdGeneral session = sessionWith(row.scale, row.pass, row.func, row.stor);
    const AnalysisOutcome outcome = Analyze(session, fortyFootCars(row.fortyFootCars));
    ASSERT_TRUE(std::holds_alternative<AnalysisResult>(outcome))
        << kindName(std::get<FailureKind>(outcome));
    const auto &result = std::get<AnalysisResult>(outcome);
    EXPECT_EQ(session.intFuncPct, row.funcPct);
    EXPECT_EQ(session.intStorPct, row.storPct);
    EXPECT_EQ(result.passSuggestion, row.passSuggestion);
    EXPECT_EQ(result.funcStatus, row.funcStatus);
    EXPECT_EQ(result.funcSuggestion, row.funcSuggestion);
    EXPECT_EQ(result.storStatus, row.storStatus);
    EXPECT_EQ(result.storSuggestion, row.storSuggestion);
}

// HO, 35 ft. of functional track: capacity 70, so the functional percentage equals the count.
// HO, 50 ft. of storage track: capacity 100, so the storage percentage equals the count.
const VerdictRow kVerdictRows[] = {
    {"Functional40Adequate", HO, 1000, 35, 1000, 40, 40, 2,
     kPassOk, kFuncOk, "", kStorOk, "Use a max. of 1600 cars in service."},
    {"Functional41Marginal", HO, 1000, 35, 1000, 41, 41, 2,
     kPassOk, kFuncMarginal, "", kStorOk, "Use a max. of 1600 cars in service."},
    {"Functional50Marginal", HO, 1000, 35, 1000, 50, 50, 2,
     kPassOk, kFuncMarginal, "", kStorOk, "Use a max. of 1600 cars in service."},
    {"Functional51Saturated", HO, 1000, 35, 1000, 51, 51, 3,
     kPassOk, kFuncSaturated, "Move no more than 28 cars, or REDESIGN trackage.", kStorOk,
     "Use a max. of 1600 cars in service."},
    {"Storage80Adequate", HO, 1000, 1000, 50, 80, 3, 80,
     kPassOk, kFuncOk, "", kStorOk, "Use a max. of 80 cars in service."},
    {"Storage81Marginal", HO, 1000, 1000, 50, 81, 3, 81,
     kPassOk, kFuncOk, "", kStorMarginal, "Use a max. of 80 cars in service, or add 1 ft. of storage track."},
    {"Storage85Marginal", HO, 1000, 1000, 50, 85, 3, 85,
     kPassOk, kFuncOk, "", kStorMarginal, "Use a max. of 80 cars in service, or add 3 ft. of storage track."},
    {"Storage86Saturated", HO, 1000, 1000, 50, 86, 3, 86,
     kPassOk, kFuncOk, "", kStorSaturated, "Use a max. of 80 cars in service, or add 4 ft. of storage track."},
    // 95 cars need 20 cars of passing track, 10 ft. in HO.
    {"PassingNeedEqualToTrackAdequate", HO, 10, 1000, 1000, 95, 3, 5,
     kPassOk, kFuncOk, "", kStorOk, "Use a max. of 1600 cars in service."},
    {"PassingOneFootShort", HO, 9, 1000, 1000, 95, 3, 5,
     "1 ft. of mainline passing track should be added.", kFuncOk, "", kStorOk,
     "Use a max. of 1600 cars in service."},
    // 21 cars need 4.2 ft. in Z: 0.2 ft. short rounds to 0, reported as 1.
    {"ShortfallUnderHalfFootReadsOneFoot", Z, 4, 100, 100, 100, 14, 20,
     "1 ft. of mainline passing track should be added.", kFuncOk, "", kStorOk,
     "Use a max. of 400 cars in service."},
    // Storage capacity 200, (202.5 - 200) / 5 = 0.5 rounds to 0.
    {"MarginalYardsAddZeroFeet", Z, 0, 100, 40, 162, 23, 81,
     "7 ft. of mainline passing track should be added.", kFuncOk, "", kStorMarginal,
     "Use a max. of 160 cars in service, or add 0 ft. of storage track."},
    // 7 x 1.1f floors to 7, 100 %; 7 x 0.4 is 2.8000000000000003.
    {"OScaleSuggestionFifteenDigits", O, 100, 7, 100, 10, 100, 9,
     kPassOk, kFuncSaturated, "Move no more than 2.8 cars, or REDESIGN trackage.", kStorOk,
     "Use a max. of 88 cars in service."},
    // 36 / 3.5999999 = 10.00000026, which is 10 in single precision: not above 10.
    {"NScalePassingComparedInSingle", N, 10, 100, 100, 171, 33, 48,
     kPassOk, kFuncOk, "", kStorOk, "Use a max. of 287 cars in service."},
    {"NoCarsEverythingAdequate", HO, 0, 10, 10, 0, 0, 0,
     kPassOk, kFuncOk, "", kStorOk, "Use a max. of 16 cars in service."},
};
INSTANTIATE_TEST_SUITE_P(VerdictBoundaries, VerdictTest, ::testing::ValuesIn(kVerdictRows), RowName{});

} // namespace
} // namespace trelvane::test
