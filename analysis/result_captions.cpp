#include "analysis/result_captions.h"

#include "analysis/number_rules.h"

namespace trelvane {

ResultCaptions resultCaptions(const AnalysisResult &result)
{
    // The wording stays the same for one car.
    return {result.passSuggestion,
            result.funcStatus,
            result.funcSuggestion,
            result.storStatus,
            result.storSuggestion,
            result.basisLine,
            concat({"Move ", intToText(result.heavyCars), " cars for a HEAVY session."}),
            concat({"Move ", intToText(result.averageCars), " cars for an AVERAGE session."}),
            concat({"Move ", intToText(result.lightCars), " cars for a LIGHT session."})};
}

} // namespace trelvane
