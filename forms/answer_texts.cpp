#include "forms/answer_texts.h"

#include "analysis/number_rules.h"

namespace trelvane {

SessionSentences sessionSentences(std::int16_t heavy, std::int16_t average, std::int16_t light)
{
    return {
        "Move " + intToText(heavy) + " cars for a HEAVY session.",
        "Move " + intToText(average) + " cars for an AVERAGE session.",
        "Move " + intToText(light) + " cars for a LIGHT session.",
    };
}

} // namespace trelvane
