// The rounding, range and number-to-text rules that the analysis and the report follow.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace trelvane {

// The largest integer not above value. Throws AnalysisFailure(Overflow) when the result
// lies outside -32768..32767 or value is not a number.
std::int16_t floorToInt16(double value);

// The nearest integer, halves going to the even neighbour (8.5 -> 8, 17.5 -> 18).
// Throws AnalysisFailure(Overflow) like floorToInt16.
std::int16_t roundToInt16(double value);

// numerator / denominator. A non-zero numerator over zero throws
// AnalysisFailure(DivisionByZero); 0 / 0 gives NaN, which the next floor or round reports
// as an overflow.
double divide(double numerator, double denominator);

// Plain digits, a leading "-" only for a negative value, no grouping.
std::string intToText(std::int16_t value);

// Rounded to 15 significant digits, written without exponent, trailing zeros or a trailing
// separator (2.8000000000000003 -> "2.8", 40 -> "40").
std::string doubleToText(double value, std::string_view decimalSeparator = ".");

// The pieces joined into one text, allocated once.
std::string concat(std::initializer_list<std::string_view> pieces);

// Whether a track box may hold this text while it is typed in: up to four ASCII digits.
bool isFootageEntry(std::string_view text);

// A track box's text as a footage: one to four ASCII digits, leading zeros allowed.
// Anything else gives nothing.
std::optional<std::int16_t> parseFootage(std::string_view text);

// Takes a track box's text into its footage field as the user leaves the box, and returns
// what the box shows then: an empty box reads "0"; any other text stays as typed ("0075"
// counts as 75). A text that is no footage leaves the field as it was and gives way to it.
std::string commitFootage(std::string_view text, std::int16_t &field);

} // namespace trelvane
