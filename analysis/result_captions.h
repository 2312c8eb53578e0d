// The nine texts that the results window shows for one analysis, and that the printed
// report reads back from it: the verdicts as the analysis wrote them, and the three session
// sentences made from the session figures.
#pragma once

#include "analysis/analysis_types.h"

#include <string>

namespace trelvane {

// In the results window's order, top to bottom; UTF-8.
struct ResultCaptions {
    std::string passSug;
    std::string funcStatus;
    std::string funcSug; // empty unless the functional trackage is saturated
    std::string storStatus;
    std::string storSug;
    std::string basis;
    std::string hvy;  // "Move 21 cars for a HEAVY session."
    std::string med;
    std::string lite;

    friend bool operator==(const ResultCaptions &, const ResultCaptions &) = default;
};

ResultCaptions resultCaptions(const AnalysisResult &result);

} // namespace trelvane
