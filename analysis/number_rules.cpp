#include "analysis/number_rules.h"

#include "analysis/failure.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace trelvane {

namespace {

std::int16_t toInt16(double integral)
{
    // NaN fails both comparisons and is caught here too.
    if (!(integral >= -32768.0 && integral <= 32767.0))
        throw AnalysisFailure(FailureKind::Overflow);
    return static_cast<std::int16_t>(integral);
}

} // namespace

std::int16_t floorToInt16(double value)
{
    return toInt16(std::floor(value));
}

std::int16_t roundToInt16(double value)
{
    // Spelled out rather than left to the floating-point rounding mode, which a
    // library could have changed.
    const double below = std::floor(value);
    const double fraction = value - below; // exact for every finite double
    double nearest = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        nearest = below + 1.0;
    return toInt16(std::isnan(value) ? value : nearest);
}

double divide(double numerator, double denominator)
{
    if (denominator == 0.0 && numerator != 0.0 && !std::isnan(numerator))
        throw AnalysisFailure(FailureKind::DivisionByZero);
    return numerator / denominator;
}

std::string intToText(std::int16_t value)
{
    return std::to_string(value);
}

std::string doubleToText(double value, std::string_view decimalSeparator)
{
    if (value == 0.0)
        return "0"; // also for -0.0
    if (!std::isfinite(value))
        throw AnalysisFailure(FailureKind::Undetermined);

    // Fifteen significant digits in scientific form give the digits and the exponent;
    // the plain form is then laid out by hand, with no exponent ever.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const std::string_view scientific(buffer);
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, ePos))
        if (c != '.')
            digits += c;
    const int exponent = std::atoi(buffer + ePos + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string integerPart;
    std::string fractionPart;
    if (exponent < 0) {
        integerPart = "0";
        fractionPart = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            integerPart = digits + std::string(integerDigits - digits.size(), '0');
        } else {
            integerPart = digits.substr(0, integerDigits);
            fractionPart = digits.substr(integerDigits);
        }
    }

    std::string text = value < 0 ? "-" : "";
    text += integerPart;
    if (!fractionPart.empty()) {
        text += decimalSeparator;
        text += fractionPart;
    }
    return text;
}

std::optional<std::int16_t> parseFootage(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<std::int16_t>(value);
}

} // namespace trelvane
