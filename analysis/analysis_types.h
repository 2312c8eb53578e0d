// The nine values that one analysis hands to the results window, or why it failed.
#pragma once

#include "analysis/failure.h"

#include <cstdint>
#include <string>
#include <variant>

namespace trelvane {

// In the order in which the results window takes them.
struct AnalysisResult {
    std::string passSuggestion;
    std::string funcStatus;
    std::string funcSuggestion; // empty unless the functional trackage is saturated
    std::string storStatus;
    std::string storSuggestion;
    std::string basisLine;
    std::int16_t heavyCars = 0;
    std::int16_t averageCars = 0;
    std::int16_t lightCars = 0;

    friend bool operator==(const AnalysisResult &, const AnalysisResult &) = default;
};

using AnalysisOutcome = std::variant<AnalysisResult, FailureKind>;

} // namespace trelvane
