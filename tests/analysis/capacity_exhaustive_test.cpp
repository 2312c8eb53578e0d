// Every footage a track box accepts, in every scale: the capacity is the exact floor of
// footage x factor, or the overflow failure above 32767 cars.
#include "analysis/scale_table.h"
#include "analysis_test_support.h"

#include <cmath>
#include <cstdint>

namespace trelvane::test {
namespace {

// floor(footage x factor) in integer arithmetic, independent of how the code multiplies:
// a float is mantissa x 2^exponent with a 24-bit whole mantissa.
std::int64_t exactCapacity(std::int64_t footage, float factor)
{
    int exponent = 0;
    const double fraction = std::frexp(static_cast<double>(factor), &exponent); // in [0.5, 1)
    const auto mantissa = static_cast<std::int64_t>(std::ldexp(fraction, 24));
    const int shift = exponent - 24;
    const std::int64_t scaled = footage * mantissa;
    // Footages are not negative here, so the right shift is the floor.
    return shift >= 0 ? scaled << shift : scaled >> -shift;
}

struct SpotRow {
    const char *name;
    int scale;
    std::int16_t footage;
    std::int16_t capacity;
};

class CapacitySpotTest : public ::testing::TestWithParam<SpotRow> {};

TEST_P(CapacitySpotTest, floorsTheSingleFactorProduct)
{
    const SpotRow &row = GetParam();
    EXPECT_EQ(exactCapacity(row.footage, findScale(row.scale)->carsPerFoot), row.capacity)
        << "the oracle itself";
    stdGeneral session = sessionWith(row.scale, 0, row.footage, row.footage);
    Analyze(session, fortyFootCars(1));
    EXPECT_EQ(session.intFuncCap, row.capacity);
    EXPECT_EQ(session.intStorCap, row.capacity);
}

const SpotRow kSpotRows[] = {
    {"NScaleHundredFeetHold359", N, 100, 359},
    {"NScaleTenFeetHold35", N, 10, 35},
    {"OScaleSevenFeetHold7", O, 7, 7},
    {"GScaleOneFootHoldsNone", G, 1, 0},
    {"ZScaleLargestBelowOverflow", Z, 6553, 32765},
    {"HOScaleLargestBox", HO, 9999, 19998},
};
INSTANTIATE_TEST_SUITE_P(Capacities, CapacitySpotTest, ::testing::ValuesIn(kSpotRows), RowName{});

class CapacityExhaustiveTest : public ::testing::TestWithParam<ScaleEntry> {};

TEST_P(CapacityExhaustiveTest, everyFootageFromZeroTo9999)
{
    const ScaleEntry scale = GetParam();
    int mismatches = 0;
    for (std::int16_t footage = 0; footage <= 9999 && mismatches < 10; ++footage) {
        stdGeneral session = sessionWith(scale.index, 0, footage, footage);
        const AnalysisOutcome outcome = Analyze(session, CarCounts{});
        const std::int64_t expected = exactCapacity(footage, scale.carsPerFoot);
        const auto *failure = std::get_if<FailureKind>(&outcome);
        bool ok = false;
        if (expected > 32767) {
            // Step 2 fails before anything is written.
            ok = failure && *failure == FailureKind::Overflow && session.intFuncCap == kStale.funcCap
                 && session.intStorCap == kStale.storCap;
        } else if (expected == 0) {
            // No capacity and no cars: 0 / 0.
            ok = failure && *failure == FailureKind::Overflow && session.intFuncCap == 0
                 && session.intStorCap == 0;
        } else {
            ok = !failure && session.intFuncCap == expected && session.intStorCap == expected;
        }
        if (!ok) {
            ++mismatches;
            ADD_FAILURE() << scale.name << " " << footage << " ft.: expected capacity " << expected
                          << ", got " << session.intFuncCap << "/" << session.intStorCap
                          << (failure ? std::string(" and ") + kindName(*failure) : std::string(" and a result"));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Capacities, CapacityExhaustiveTest, ::testing::ValuesIn(kScaleTable),
                         [](const ::testing::TestParamInfo<ScaleEntry> &info) {
                             return std::string(info.param.name) + "Scale";
                         });

} // namespace
} // namespace trelvane::test
