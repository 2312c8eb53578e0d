// The three failure kinds, their messages, and what the session holds after a failed analysis.
#include "analysis_test_support.h"

#include <string_view>
#include <vector>

namespace trelvane::test {
namespace {

struct MessageRow {
    const char *name;
    FailureKind kind;
    std::string_view message; // its lines joined by one line break
};

class FailureMessageTest : public ::testing::TestWithParam<MessageRow> {};

TEST_P(FailureMessageTest, showsTheLinesOfItsKind)
{
    EXPECT_EQ(failureMessage(GetParam().kind), GetParam().message);
}

const MessageRow kMessageRows[] = {
    {"Overflow", FailureKind::Overflow,
     "No VALUE has been entered for either the Functional or Storage\n"
     "track, and no CAR QUANTITIES have been entered."},
    {"DivisionByZero", FailureKind::DivisionByZero,
     "No VALUE has been entered for either the Functional or Storage track."},
    {"UndeterminedWithTwoSpaces", FailureKind::Undetermined,
     "An undetermined error has occured.  Please be sure that appropriate\n"
     "values have been entered in all the input boxes."},
};
INSTANTIATE_TEST_SUITE_P(Failures, FailureMessageTest, ::testing::ValuesIn(kMessageRows), RowName{});

TEST(FailureTitle, namesTheProblem) { EXPECT_EQ(kFailureTitle, "Problem - Invalid or Missing Input"); }

struct FailureRow {
    const char *name;
    int scale;
    std::int16_t func, stor;
    CarCounts counts;
    FailureKind kind;
    Written session; // new values up to the failing step, stale ones after it
};

class AnalyzeFailureTest : public ::testing::TestWithParam<FailureRow> {};

TEST_P(AnalyzeFailureTest, stopsAtTheFirstFailingStep)
{
    const FailureRow &row = GetParam();
    stdGeneral session = sessionWith(row.scale, 0, row.func, row.stor);
    const AnalysisOutcome outcome = Analyze(session, row.counts);
    ASSERT_TRUE(std::holds_alternative<FailureKind>(outcome)) << "the analysis succeeded";
    EXPECT_EQ(std::get<FailureKind>(outcome), row.kind);
    EXPECT_EQ(written(session), row.session);
}

constexpr std::int16_t kF = kStale.funcPct;
constexpr std::int16_t kS = kStale.storPct;
constexpr CarCounts kNoCars{};
constexpr CarCounts kTen{0, 10, 0, 0, 0, 0, 0, 0};
constexpr CarCounts kFull{9999, 9999, 9999, 9999, 9999, 9999, 9999, 9999};

const FailureRow kFailureRows[] = {
    {"NothingEnteredZeroOverZero", HO, 0, 0, kNoCars, FailureKind::Overflow, {0, 0, 0, 0, kF, kS}},
    {"NoFunctionalTrackNoCarsZeroOverZero", HO, 0, 100, kNoCars, FailureKind::Overflow,
     {0, 200, 0, 0, kF, kS}},
    {"NoStorageTrackNoCarsZeroOverZero", HO, 100, 0, kNoCars, FailureKind::Overflow,
     {200, 0, 0, 0, 0, kS}},
    {"NoFunctionalTrackDividesByZero", HO, 0, 100, kTen, FailureKind::DivisionByZero,
     {0, 200, 10, 2, kF, kS}},
    {"GScaleOneFootFloorsToZeroCapacity", G, 1, 100, kTen, FailureKind::DivisionByZero,
     {0, 50, 10, 2, kF, kS}},
    // 7 / 200 x 100 = 3.5, rounded to the even 4, is written before storage divides by zero.
    {"NoStorageTrackDividesByZero", HO, 100, 0, kTen, FailureKind::DivisionByZero,
     {200, 0, 10, 2, 4, kS}},
    {"ZScaleFunctionalCapacityOverflows", Z, 9999, 100, kTen, FailureKind::Overflow,
     {kStale.funcCap, kStale.storCap, kStale.equivCars, kStale.passCars, kF, kS}},
    {"ZScaleStorageCapacityOverflows", Z, 100, 9999, kTen, FailureKind::Overflow,
     {500, kStale.storCap, kStale.equivCars, kStale.passCars, kF, kS}},
    {"EveryCounterFullOverflowsTheEquivalentCars", HO, 100, 100, kFull, FailureKind::Overflow,
     {200, 200, kStale.equivCars, kStale.passCars, kF, kS}},
    {"FunctionalPercentOverflows", HO, 1, 100, {0, 1000, 0, 0, 0, 0, 0, 0}, FailureKind::Overflow,
     {2, 200, 1000, 210, kF, kS}},
    {"StoragePercentOverflows", G, 2000, 2, {0, 400, 0, 0, 0, 0, 0, 0}, FailureKind::Overflow,
     {1000, 1, 400, 84, 28, kS}},
    // (25000 - 100) / 0.5 ft. to add overflows after all six fields are written.
    {"StorageFeetToAddOverflows", G, 2000, 200, {0, 20000, 0, 0, 0, 0, 0, 0}, FailureKind::Overflow,
     {1000, 100, 20000, 4200, 1400, 20000}},
};
INSTANTIATE_TEST_SUITE_P(Failures, AnalyzeFailureTest, ::testing::ValuesIn(kFailureRows), RowName{});

struct BrokenFactorsRow {
    const char *name;
    std::size_t factorCount; // how many of the eight factors the session holds
};

class UndeterminedFailureTest : public ::testing::TestWithParam<BrokenFactorsRow> {};

TEST_P(UndeterminedFailureTest, missingCarFactorsFailAfterTheCapacities)
{
    stdGeneral session = sessionWith(HO, 0, 100, 100);
    session.vntCarFactors.resize(GetParam().factorCount);
    const AnalysisOutcome outcome = Analyze(session, CarCounts{1, 1, 1, 1, 1, 1, 1, 1});
    ASSERT_TRUE(std::holds_alternative<FailureKind>(outcome)) << "the analysis succeeded";
    EXPECT_EQ(std::get<FailureKind>(outcome), FailureKind::Undetermined);
    EXPECT_EQ(written(session),
              (Written{200, 200, kStale.equivCars, kStale.passCars, kF, kS}));
}

const BrokenFactorsRow kBrokenFactorRows[] = {
    {"NeverFilled", 0},
    {"LastOneMissing", 7},
};
INSTANTIATE_TEST_SUITE_P(Failures, UndeterminedFailureTest, ::testing::ValuesIn(kBrokenFactorRows), RowName{});

} // namespace
} // namespace trelvane::test
