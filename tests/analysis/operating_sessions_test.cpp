// The basis of the operating sessions and the heavy, average and light figures.
#include "analysis_test_support.h"

#include "analysis/result_captions.h"

namespace trelvane::test {
namespace {

struct SessionRow {
    const char *name;
    std::int16_t stor; // HO feet of storage track
    std::int32_t fortyFootCars;
    const char *basisLine;
    std::int16_t heavy, average, light;
};

class OperatingSessionTest : public ::testing::TestWithParam<SessionRow> {};

TEST_P(OperatingSessionTest, floorsTheShareOfItsBasis)
{
    const SessionRow &row = GetParam();
    stdGeneral session = sessionWith(HO, 1000, 1000, row.stor);
    const AnalysisOutcome outcome = Analyze(session, fortyFootCars(row.fortyFootCars));
    ASSERT_TRUE(std::holds_alternative<AnalysisResult>(outcome))
        << kindName(std::get<FailureKind>(outcome));
    const auto &result = std::get<AnalysisResult>(outcome);
    EXPECT_EQ(result.basisLine, row.basisLine);
    EXPECT_EQ(result.heavyCars, row.heavy);
    EXPECT_EQ(result.averageCars, row.average);
    EXPECT_EQ(result.lightCars, row.light);
}

const SessionRow kSessionRows[] = {
    {"NoCars", 1000, 0, "Based on 0 cars in service:", 0, 0, 0},
    {"OneCarSameWording", 1000, 1, "Based on 1 cars in service:", 0, 0, 0},
    {"TwoCars", 1000, 2, "Based on 2 cars in service:", 1, 1, 0},
    {"ThreeCars", 1000, 3, "Based on 3 cars in service:", 2, 1, 0},
    {"TenCarsHeavyExactlySeven", 1000, 10, "Based on 10 cars in service:", 7, 5, 2},
    // 50 ft. of storage track holds 100 cars, 80 recommended.
    {"Storage85BasesOnEquivalentCars", 50, 85, "Based on 85 cars in service:", 59, 42, 21},
    {"Storage86BasesOnRecommendation", 50, 86, "Based on the RECOMMENDATION of 80 cars in service:", 56, 40, 20},
};
INSTANTIATE_TEST_SUITE_P(OperatingSessions, OperatingSessionTest, ::testing::ValuesIn(kSessionRows), RowName{});

struct SentenceRow {
    const char *name;
    std::int16_t heavy, average, light;
    const char *hvy, *med, *lite;
};

class SessionSentenceTest : public ::testing::TestWithParam<SentenceRow> {};

TEST_P(SessionSentenceTest, putsEachFigureBetweenItsWords)
{
    const SentenceRow &row = GetParam();
    const AnalysisResult result{"pass", "func", "", "stor", "storSug", "basis",
                                row.heavy, row.average, row.light};
    const ResultCaptions expected{"pass", "func", "", "stor", "storSug", "basis",
                                  row.hvy, row.med, row.lite};
    EXPECT_EQ(resultCaptions(result), expected);
}

const SentenceRow kSentenceRows[] = {
    {"WorkedExample", 21, 15, 7, "Move 21 cars for a HEAVY session.",
     "Move 15 cars for an AVERAGE session.", "Move 7 cars for a LIGHT session."},
    {"NoCarsSameWording", 0, 0, 0, "Move 0 cars for a HEAVY session.",
     "Move 0 cars for an AVERAGE session.", "Move 0 cars for a LIGHT session."},
};
INSTANTIATE_TEST_SUITE_P(OperatingSessions, SessionSentenceTest, ::testing::ValuesIn(kSentenceRows), RowName{});

} // namespace
} // namespace trelvane::test
