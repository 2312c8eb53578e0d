#include "analysis/number_rules.h"

#include "analysis/failure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

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

    // %.14e rounds the exact value to fifteen significant digits in every C library this
    // program is built with (glibc, mingw-w64's, emscripten's musl), where the shortest
    // round-trip conversions are missing from some. Only its decimal point follows the C
    // locale, which the windowing toolkit may set, so the point is stepped over, never read:
    // "-d.dddddddddddddde+xx".
    char buffer[48];
    const int written = std::snprintf(buffer, sizeof buffer, "%.14e", value);
    if (written <= 0 || written >= static_cast<int>(sizeof buffer))
        throw AnalysisFailure(FailureKind::Undetermined);
    std::string_view scientific(buffer, static_cast<std::size_t>(written));
    const bool negative = scientific.front() == '-';
    if (negative)
        scientific.remove_prefix(1);
    const std::size_t e = scientific.find('e');
    if (e == std::string_view::npos || e < 15)
        throw AnalysisFailure(FailureKind::Undetermined);

    std::string digits = concat({scientific.substr(0, 1), scientific.substr(e - 14, 14)});
    digits.erase(digits.find_last_not_of('0') + 1); // the first digit is never 0
    std::string_view exponentText = scientific.substr(e + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1); // the sign, always written
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent)
        exponent = -exponent;

    // The digits with the point placed by the exponent, padded with zeros as needed.
    std::string whole;
    std::string fraction;
    if (exponent >= 0) {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        whole = digits.substr(0, wholeDigits);
        whole.resize(wholeDigits, '0');
        if (digits.size() > wholeDigits)
            fraction = digits.substr(wholeDigits);
    } else {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return concat({negative ? "-" : "", whole, fraction.empty() ? "" : decimalSeparator,
                   fraction});
}

std::string concat(std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    std::string text(size, '\0');
    char *out = text.data();
    for (std::string_view piece : pieces)
        out = std::copy(piece.begin(), piece.end(), out);
    return text;
}

bool isFootageEntry(std::string_view text)
{
    return text.size() <= 4
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::int16_t> parseFootage(std::string_view text)
{
    if (text.empty() || !isFootageEntry(text))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<std::int16_t>(value);
}

std::string commitFootage(std::string_view text, std::int16_t &field)
{
    const std::string_view shown = text.empty() ? std::string_view("0") : text;
    if (const auto footage = parseFootage(shown)) {
        field = *footage;
        return std::string(shown);
    }
    return intToText(field);
}

} // namespace trelvane
