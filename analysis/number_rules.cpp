#include "analysis/number_rules.h"

#include "analysis/failure.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace trelvane {

namespace {

std::int16_t toInt16(double integral)
{
    // NaN fails both comparisons and is caught here too.
    if (!(integral >= -32768.0 && integral <= 32767.0))
        throw AnalysisFailure(FailureKind::Overflow);
    return static_cast<std::int16_t>(integral);
}

// The digits of a plain number from its first non-zero one on.
std::size_t significantDigits(std::string_view plain)
{
    std::size_t count = 0;
    for (char c : plain)
        if ((c >= '1' && c <= '9') || (c == '0' && count > 0))
            ++count;
    return count;
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

    // The shortest plain form that reads back as the value is already the value rounded
    // to fifteen significant digits whenever it has no more than fifteen (14.4). Otherwise
    // (2.8000000000000003) the value is rounded to fifteen digits first and written again.
    // to_chars, unlike printf, ignores the C locale that the windowing toolkit sets.
    char buffer[400]; // room for the longest plain form of any double
    char *const end = buffer + sizeof buffer;
    auto written = std::to_chars(buffer, end, value, std::chars_format::fixed);
    if (written.ec == std::errc() && significantDigits({buffer, written.ptr}) > 15) {
        written = std::to_chars(buffer, end, value, std::chars_format::scientific, 14);
        double rounded = value;
        std::from_chars(buffer, written.ptr, rounded);
        written = std::to_chars(buffer, end, rounded, std::chars_format::fixed);
    }
    if (written.ec != std::errc())
        throw AnalysisFailure(FailureKind::Undetermined);

    const std::string_view plain(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const std::size_t point = plain.find('.');
    if (point == std::string_view::npos)
        return std::string(plain);
    return concat({plain.substr(0, point), decimalSeparator, plain.substr(point + 1)});
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
