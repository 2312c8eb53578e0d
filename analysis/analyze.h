// The capacity analysis: equivalent cars, capacities, percentages, the three trackage
// verdicts and the operating-session figures.
#pragma once

#include "analysis/analysis_types.h"
#include "analysis/session_state.h"

#include <string_view>

namespace trelvane {

// Runs the whole analysis on the session's footages and scale factor and on the given
// counts. Writes intFuncCap, intStorCap, intEquivCars, intPassCars, intFuncPct and
// intStorPct into the session one after another: after a failure the fields written
// before the failing step keep their new values and the later ones their old.
// decimalSeparator is the user's locale's, used in the functional suggestion.
AnalysisOutcome Analyze(stdGeneral &session, const CarCounts &carCounts,
                        std::string_view decimalSeparator = ".");

// The equivalent number of 40-foot cars, in single precision as the counts are summed.
// Writes intEquivCars and returns it. Throws AnalysisFailure.
std::int16_t CountEquivCars(stdGeneral &session, const CarCounts &carCounts);

// Above 50 % the functional trackage is saturated: the analysis then suggests a redesign,
// and the results window and the printed report warn that operation may suffer.
constexpr bool functionalTrackageSaturated(std::int16_t intFuncPct)
{
    return intFuncPct > 50;
}

} // namespace trelvane
