// Converting the eight car counts into 40-foot-equivalent cars, summed in single precision.
#include "analysis_test_support.h"

#include <limits>
#include <optional>

namespace trelvane::test {
namespace {

struct EquivRow {
    const char *name;
    CarCounts counts; // 34' 40' 50' 55' 60' 70' 80' 86'
    std::optional<std::int16_t> equivCars; // nothing: the overflow failure
};

class CountEquivCarsTest : public ::testing::TestWithParam<EquivRow> {};

TEST_P(CountEquivCarsTest, writesTheRoundedSingleSum)
{
    const EquivRow &row = GetParam();
    stdGeneral session = sessionWith(HO, 0, 0, 0);
    if (row.equivCars) {
        EXPECT_EQ(CountEquivCars(session, row.counts), *row.equivCars);
        EXPECT_EQ(session.intEquivCars, *row.equivCars);
        return;
    }
    try {
        const std::int16_t got = CountEquivCars(session, row.counts);
        ADD_FAILURE() << "gave " << got;
    } catch (const AnalysisFailure &failure) {
        EXPECT_EQ(failure.kind(), FailureKind::Overflow);
    }
    EXPECT_EQ(session.intEquivCars, kStale.equivCars);
}

constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();

const EquivRow kEquivRows[] = {
    {"Three34FootCarsRoundUp", {3, 0, 0, 0, 0, 0, 0, 0}, 3},
    {"Three55FootCarsUse1_38", {0, 0, 0, 3, 0, 0, 0, 0}, 4},
    {"Ten34FootCarsHalfToEven", {10, 0, 0, 0, 0, 0, 0, 0}, 8},
    {"One86FootCarRoundsDown", {0, 0, 0, 0, 0, 0, 0, 1}, 2},
    {"WholeFactorsExact", {0, 5, 0, 0, 0, 0, 5, 0}, 15},
    {"OneOfEachClass", {1, 1, 1, 1, 1, 1, 1, 1}, 12},
    // 2 x 0.85 = 1.69999999999999996 and 10 x 1.38 = 13.7999999999999989 sum in double to
    // 15.4999999999999982, which would round to 15. Rounded to single the products are
    // 1.70000004768 and 13.8000001907, their single sum is exactly 15.5, and the half goes
    // to the even 16.
    {"SingleSumReachesTheHalf", {2, 0, 0, 10, 0, 0, 0, 0}, 16},
    // Likewise 42 x 0.85 + 10 x 1.38 is 49.49999999999999 in double (49) but 49.5 in single.
    {"SingleSumReachesTheHalfAgain", {42, 0, 0, 10, 0, 0, 0, 0}, 50},
    {"TopOfRange", {0, 32767, 0, 0, 0, 0, 0, 0}, 32767},
    {"JustAboveRangeOverflows", {0, 32768, 0, 0, 0, 0, 0, 0}, std::nullopt},
    {"EveryCounterAtItsMaximumOverflows", {9999, 9999, 9999, 9999, 9999, 9999, 9999, 9999}, std::nullopt},
    // The whole-factor product must not wrap in 32 bits.
    {"Largest32BitCountOf80FootCarsOverflows", {0, 0, 0, 0, 0, 0, kMax32, 0}, std::nullopt},
    {"Smallest32BitCountOf80FootCarsOverflows", {0, 0, 0, 0, 0, 0, kMin32, 0}, std::nullopt},
    // Each product is rounded to single before it is added: 2147483647 becomes 2147483648,
    // which cancels -1073741824 x 2 exactly (an exact sum would be -1).
    {"ProductsRoundedToSingleBeforeTheSum", {0, kMax32, 0, 0, 0, 0, kMin32 / 2, 0}, 0},
};
INSTANTIATE_TEST_SUITE_P(EquivalentCars, CountEquivCarsTest, ::testing::ValuesIn(kEquivRows), RowName{});

} // namespace
} // namespace trelvane::test
