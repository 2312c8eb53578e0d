// What one analysis reads and the nine values it hands to the results window.
#pragma once

#include "analysis/car_classes.h"
#include "analysis/failure.h"

#include <cstdint>
#include <string>
#include <variant>

namespace trelvane {

struct AnalysisInput {
    std::int16_t intPassTrack = 0;
    std::int16_t intFuncTrack = 0;
    std::int16_t intStorTrack = 0;
    float sngCarsPerFoot = 0;
    CarCounts carCounts{};
};

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
