// Rounding into the 16-bit range, division, and the number-to-text and footage rules.
#include "analysis/number_rules.h"
#include "analysis_test_support.h"

#include <clocale>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace trelvane::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// What an operation gives: a value, or the failure it raises.
template <class T>
struct Outcome {
    std::optional<T> value;
    std::optional<FailureKind> failure;
};

template <class T>
Outcome<T> run(const std::function<T()> &op)
{
    try {
        return {op(), std::nullopt};
    } catch (const AnalysisFailure &failure) {
        return {std::nullopt, failure.kind()};
    }
}

struct ToIntRow {
    const char *name;
    double value;
    std::optional<std::int16_t> expected; // nothing: the overflow failure
};

void expectToInt(const ToIntRow &row, std::int16_t (*op)(double))
{
    const auto got = run<std::int16_t>([&] { return op(row.value); });
    if (row.expected) {
        ASSERT_FALSE(got.failure) << kindName(*got.failure);
        EXPECT_EQ(*got.value, *row.expected);
    } else {
        ASSERT_TRUE(got.failure) << "gave " << *got.value;
        EXPECT_EQ(*got.failure, FailureKind::Overflow);
    }
}

class RoundToInt16Test : public ::testing::TestWithParam<ToIntRow> {};

TEST_P(RoundToInt16Test, roundsHalfToEvenWithinRange) { expectToInt(GetParam(), roundToInt16); }

const ToIntRow kRoundRows[] = {
    {"EightAndAHalfToEight", 8.5, 8},
    {"TenAndAHalfToTen", 10.5, 10},
    {"SeventeenAndAHalfToEighteen", 17.5, 18},
    {"TwoAndAHalfToTwo", 2.5, 2},
    {"HalfToZero", 0.5, 0},
    {"JustAboveHalfUp", 0.5000000000000001, 1},
    {"JustBelowTwoAndAHalfDown", 2.4999999999999996, 2},
    {"NegativeEightAndAHalfToMinusEight", -8.5, -8},
    {"NegativeSeventeenAndAHalfToMinusEighteen", -17.5, -18},
    {"NegativeHalfToZero", -0.5, 0},
    {"NegativeNotHalfToNearest", -3.7, -4},
    {"TopOfRange", 32767.4, 32767},
    {"HalfAboveTopOverflows", 32767.5, std::nullopt},
    {"HalfBelowTopToEven", 32766.5, 32766},
    {"BottomOfRange", -32768.0, -32768},
    {"HalfBelowBottomToEvenBottom", -32768.5, -32768},
    {"BelowBottomOverflows", -32768.6, std::nullopt},
    {"Plus32768Overflows", 32768.0, std::nullopt},
    {"NaNOverflows", kNaN, std::nullopt},
    {"InfinityOverflows", kInf, std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(NumberRules, RoundToInt16Test, ::testing::ValuesIn(kRoundRows), RowName{});

class FloorToInt16Test : public ::testing::TestWithParam<ToIntRow> {};

TEST_P(FloorToInt16Test, floorsWithinRange) { expectToInt(GetParam(), floorToInt16); }

const ToIntRow kFloorRows[] = {
    {"NScaleTenFeet", 10.0 * static_cast<double>(3.6f), 35},
    {"HalfDown", 8.5, 8},
    {"NegativeHalfDown", -0.5, -1},
    {"NegativeWholeStays", -138.0, -138},
    {"JustBelowTop", 32767.999, 32767},
    {"Plus32768Overflows", 32768.0, std::nullopt},
    {"BottomOfRange", -32768.0, -32768},
    {"AboveBottomFloorsToBottom", -32767.5, -32768},
    {"BelowBottomOverflows", -32768.25, std::nullopt},
    {"NaNOverflows", kNaN, std::nullopt},
    {"MinusInfinityOverflows", -kInf, std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(NumberRules, FloorToInt16Test, ::testing::ValuesIn(kFloorRows), RowName{});

struct DivideRow {
    const char *name;
    double numerator, denominator;
    Outcome<std::int16_t> roundedQuotient; // the quotient as the next round takes it
};

class DivideTest : public ::testing::TestWithParam<DivideRow> {};

TEST_P(DivideTest, failsOnlyForNonZeroOverZero)
{
    const DivideRow &row = GetParam();
    const auto got =
        run<std::int16_t>([&] { return roundToInt16(divide(row.numerator, row.denominator)); });
    EXPECT_EQ(got.failure, row.roundedQuotient.failure);
    EXPECT_EQ(got.value, row.roundedQuotient.value);
}

const DivideRow kDivideRows[] = {
    {"HalfQuotientToEven", 7.0, 2.0, {std::int16_t{4}, std::nullopt}},
    {"ZeroOverCapacity", 0.0, 200.0, {std::int16_t{0}, std::nullopt}},
    {"NonZeroOverZeroIsDivisionByZero", 70.0, 0.0, {std::nullopt, FailureKind::DivisionByZero}},
    {"NegativeOverZeroIsDivisionByZero", -3.0, 0.0, {std::nullopt, FailureKind::DivisionByZero}},
    {"NonZeroOverNegativeZeroIsDivisionByZero", 1.0, -0.0, {std::nullopt, FailureKind::DivisionByZero}},
    {"ZeroOverZeroOverflowsAtTheRound", 0.0, 0.0, {std::nullopt, FailureKind::Overflow}},
};
INSTANTIATE_TEST_SUITE_P(NumberRules, DivideTest, ::testing::ValuesIn(kDivideRows), RowName{});

TEST(DivideZeroByZero, givesNotANumberWithoutFailing)
{
    EXPECT_TRUE(std::isnan(divide(0.0, 0.0)));
}

struct IntTextRow {
    const char *name;
    std::int16_t value;
    const char *text;
};

class IntToTextTest : public ::testing::TestWithParam<IntTextRow> {};

TEST_P(IntToTextTest, writesPlainDigits) { EXPECT_EQ(intToText(GetParam().value), GetParam().text); }

const IntTextRow kIntTextRows[] = {
    {"Positive", 320, "320"},
    {"NegativeWithoutSpace", -138, "-138"},
    {"Zero", 0, "0"},
    {"BottomOfRangeUngrouped", -32768, "-32768"},
    {"TopOfRangeUngrouped", 32767, "32767"},
};
INSTANTIATE_TEST_SUITE_P(NumberRules, IntToTextTest, ::testing::ValuesIn(kIntTextRows), RowName{});

struct DoubleTextRow {
    const char *name;
    double value;
    const char *separator;
    const char *text;
};

class DoubleToTextTest : public ::testing::TestWithParam<DoubleTextRow> {};

TEST_P(DoubleToTextTest, writesFifteenSignificantDigitsWithoutExponent)
{
    const DoubleTextRow &row = GetParam();
    EXPECT_EQ(doubleToText(row.value, row.separator), row.text);
}

// The extremes, written out in full: 309 digits, and 323 zeros after the point.
const std::string kLargestDouble = "179769313486232" + std::string(294, '0');
const std::string kSmallestDouble = "0." + std::string(323, '0') + "494065645841247";
const std::string kTenToMinus300 = "0." + std::string(299, '0') + "1";

const DoubleTextRow kDoubleTextRows[] = {
    {"WholeWithoutSeparator", 100 * 0.4, ".", "40"},
    {"OneDecimal", 36 * 0.4, ".", "14.4"},
    {"SeventeenthDigitDropped", 7 * 0.4, ".", "2.8"},
    {"TwentyEightNoiseDropped", 70 * 0.4, ".", "28"},
    {"CommaSeparator", 36 * 0.4, ",", "14,4"},
    {"CommaSeparatorWhole", 40.0, ",", "40"},
    {"Negative", -138 * 0.4, ".", "-55.2"},
    {"NegativeBottomOfRange", -32768 * 0.4, ".", "-13107.2"},
    {"TopOfRange", 32767 * 0.4, ".", "13106.8"},
    {"BelowOne", 1 * 0.4, ".", "0.4"},
    {"Zero", 0.0, ".", "0"},
    {"NegativeZeroWithoutSign", -0.0, ".", "0"},
    {"FifteenDigitsKept", 123456789.012345, ".", "123456789.012345"},
    {"FifteenDigitsKeptSmall", 1.23456789012345, ".", "1.23456789012345"},
    {"SixteenthDigitRoundsUp", 1.234567890123456, ".", "1.23456789012346"},
    {"RoundingCarriesIntoWhole", 99999.99999999999, ".", "100000"},
    {"LargeWithoutExponent", 1e15, ".", "1000000000000000"},
    {"SmallWithoutExponent", 0.000015, ".", "0.000015"},
    {"LargestDouble", std::numeric_limits<double>::max(), ".", kLargestDouble.c_str()},
    {"SmallestDouble", std::numeric_limits<double>::denorm_min(), ".", kSmallestDouble.c_str()},
    {"TenToMinus300", 1e-300, ".", kTenToMinus300.c_str()},
};
INSTANTIATE_TEST_SUITE_P(NumberRules, DoubleToTextTest, ::testing::ValuesIn(kDoubleTextRows), RowName{});

// The windowing toolkit sets the C library's locale from the user's, whose decimal point the
// C library then writes; the text takes only the separator it is given.
TEST(DoubleToTextLocale, ignoresTheCLibrarysDecimalPoint)
{
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::string(std::localeconv()->decimal_point) != ",")
        GTEST_SKIP() << "no locale here writes a decimal comma";
    const std::string point = doubleToText(36 * 0.4, ".");
    const std::string comma = doubleToText(7 * 0.4, ",");
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(point, "14.4");
    EXPECT_EQ(comma, "2,8");
}

struct FootageRow {
    const char *name;
    const char *text;
    bool entry;                           // may stand in a box while it is typed in
    std::optional<std::int16_t> footage;  // what it reads as
    const char *shown;                    // the box's text once left, its field holding 1234
    std::int16_t field;                   // the field then
};

class FootageTest : public ::testing::TestWithParam<FootageRow> {};

TEST_P(FootageTest, takesOneToFourAsciiDigits)
{
    const FootageRow &row = GetParam();
    EXPECT_EQ(isFootageEntry(row.text), row.entry);
    EXPECT_EQ(parseFootage(row.text), row.footage);
    std::int16_t field = 1234;
    EXPECT_EQ(commitFootage(row.text, field), row.shown);
    EXPECT_EQ(field, row.field);
}

const FootageRow kFootageRows[] = {
    {"LeadingZeros", "0075", true, 75, "0075", 75},
    {"LargestBox", "9999", true, 9999, "9999", 9999},
    {"Zero", "0", true, 0, "0", 0},
    {"AllZeros", "0000", true, 0, "0000", 0},
    {"EmptyReadsZeroWhenLeft", "", true, std::nullopt, "0", 0},
    {"TrailingLetter", "12a", false, std::nullopt, "1234", 1234},
    {"MinusSign", "-1", false, std::nullopt, "1234", 1234},
    {"PlusSign", "+1", false, std::nullopt, "1234", 1234},
    {"LeadingSpace", " 12", false, std::nullopt, "1234", 1234},
    {"FiveDigits", "12345", false, std::nullopt, "1234", 1234},
    {"ArabicIndicDigit", "\xd9\xa3", false, std::nullopt, "1234", 1234},
};
INSTANTIATE_TEST_SUITE_P(NumberRules, FootageTest, ::testing::ValuesIn(kFootageRows), RowName{});

} // namespace
} // namespace trelvane::test
