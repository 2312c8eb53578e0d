// The texts and the warning decision that the results window shows for one analysis.
#pragma once

#include <cstdint>
#include <string>

namespace trelvane {

struct SessionSentences {
    std::string heavy;
    std::string average;
    std::string light;
};

// "Move 70 cars for a HEAVY session." and its two companions.
SessionSentences sessionSentences(std::int16_t heavy, std::int16_t average, std::int16_t light);

// The warning goes with a saturated functional trackage: above 50 %.
constexpr bool showsFunctionalWarning(std::int16_t intFuncPct)
{
    return intFuncPct > 50;
}

} // namespace trelvane
