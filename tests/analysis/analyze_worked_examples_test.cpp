// Whole analyses of typical layouts: every session figure written and all nine results.
#include "analysis_test_support.h"

namespace trelvane::test {
namespace {

struct WorkedRow {
    const char *name;
    int scale;
    std::int16_t pass, func, stor;
    std::int32_t fortyFootCars;
    Written session;
    AnalysisResult result;
};

class WorkedExampleTest : public ::testing::TestWithParam<WorkedRow> {};

TEST_P(WorkedExampleTest, givesEveryFigureAndText)
{
    const WorkedRow &row = GetParam();
    stdGeneral session = sessionWith(row.scale, row.pass, row.func, row.stor);
    const AnalysisOutcome outcome = Analyze(session, fortyFootCars(row.fortyFootCars));
    EXPECT_EQ(written(session), row.session);
    const auto *result = std::get_if<AnalysisResult>(&outcome);
    ASSERT_NE(result, nullptr) << kindName(std::get<FailureKind>(outcome));
    EXPECT_EQ(*result, row.result);
}

const WorkedRow kWorkedRows[] = {
    {"ShortPassingHalfFootToEven", HO, 0, 100, 100, 100,
     {200, 200, 100, 21, 35, 50},
     {"10 ft. of mainline passing track should be added.", "Functional trackage is ADEQUATE.", "",
      "Yard capacity is ADEQUATE.", "Use a max. of 160 cars in service.",
      "Based on 100 cars in service:", 70, 50, 25}},
    {"SaturatedYardsBaseOnRecommendation", HO, 10, 100, 50, 86,
     {200, 100, 86, 18, 30, 86},
     {"Passing trackage is ADEQUATE.", "Functional trackage is ADEQUATE.", "",
      "Yards are SATURATED!", "Use a max. of 80 cars in service, or add 4 ft. of storage track.",
      "Based on the RECOMMENDATION of 80 cars in service:", 56, 40, 20}},
    {"SaturatedFunctionalTrackage", HO, 10, 18, 100, 30,
     {36, 200, 30, 6, 58, 15},
     {"Passing trackage is ADEQUATE.", "Functional trackage is SATURATED!",
      "Move no more than 14.4 cars, or REDESIGN trackage.", "Yard capacity is ADEQUATE.",
      "Use a max. of 160 cars in service.", "Based on 30 cars in service:", 21, 15, 7}},
    {"MarginalYardsBaseOnEquivalentCars", HO, 10, 200, 50, 85,
     {400, 100, 85, 18, 15, 85},
     {"Passing trackage is ADEQUATE.", "Functional trackage is ADEQUATE.", "",
      "Yard capacity is MARGINAL.", "Use a max. of 80 cars in service, or add 3 ft. of storage track.",
      "Based on 85 cars in service:", 59, 42, 21}},
};
INSTANTIATE_TEST_SUITE_P(WorkedExamples, WorkedExampleTest, ::testing::ValuesIn(kWorkedRows), RowName{});

TEST(AnalyzeSeparator, functionalSuggestionUsesTheGivenSeparator)
{
    stdGeneral session = sessionWith(HO, 10, 18, 100);
    const AnalysisOutcome outcome = Analyze(session, fortyFootCars(30), ",");
    ASSERT_TRUE(std::holds_alternative<AnalysisResult>(outcome));
    EXPECT_EQ(std::get<AnalysisResult>(outcome).funcSuggestion,
              "Move no more than 14,4 cars, or REDESIGN trackage.");
}

} // namespace
} // namespace trelvane::test
