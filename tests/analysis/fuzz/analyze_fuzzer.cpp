// libFuzzer target over the whole analysis: any footages, scale or raw factor and counts
// must end in a result or a failure kind, and the verdict texts must agree with the
// percentages the analysis wrote.
#include "analysis/analyze.h"
#include "analysis/number_rules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace trelvane;

namespace {

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #condition);       \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::int16_t footage(FuzzedDataProvider &in, bool anyValue)
{
    return anyValue ? in.ConsumeIntegral<std::int16_t>() : in.ConsumeIntegralInRange<std::int16_t>(0, 9999);
}

void checkPassing(const AnalysisResult &result)
{
    constexpr std::string_view kAdd = " ft. of mainline passing track should be added.";
    if (result.passSuggestion == "Passing trackage is ADEQUATE.")
        return;
    FUZZ_CHECK(endsWith(result.passSuggestion, kAdd));
    const std::string_view feet = std::string_view(result.passSuggestion).substr(0, result.passSuggestion.size() - kAdd.size());
    const auto parsed = std::stoi(std::string(feet));
    FUZZ_CHECK(parsed >= 1 && intToText(static_cast<std::int16_t>(parsed)) == feet);
}

void checkFunctional(const stdGeneral &session, const AnalysisResult &result, std::string_view separator)
{
    if (session.intFuncPct > 50) {
        FUZZ_CHECK(result.funcStatus == "Functional trackage is SATURATED!");
        FUZZ_CHECK(result.funcSuggestion
                   == "Move no more than " + doubleToText(session.intFuncCap * 0.4, separator)
                          + " cars, or REDESIGN trackage.");
    } else {
        FUZZ_CHECK(result.funcStatus
                   == (session.intFuncPct > 40 ? "Functional trackage is MARGINAL." : "Functional trackage is ADEQUATE."));
        FUZZ_CHECK(result.funcSuggestion.empty());
    }
}

void checkStorageAndSessions(const stdGeneral &session, const AnalysisResult &result)
{
    const std::int16_t maxStorCars = static_cast<std::int16_t>(std::floor(session.intStorCap * 0.8));
    const std::string maxPart = "Use a max. of " + intToText(maxStorCars) + " cars in service";
    std::int16_t basis = session.intEquivCars;
    if (session.intStorPct > 80) {
        FUZZ_CHECK(result.storStatus == (session.intStorPct > 85 ? "Yards are SATURATED!" : "Yard capacity is MARGINAL."));
        FUZZ_CHECK(startsWith(result.storSuggestion, maxPart + ", or add "));
        FUZZ_CHECK(endsWith(result.storSuggestion, " ft. of storage track."));
    } else {
        FUZZ_CHECK(result.storStatus == "Yard capacity is ADEQUATE.");
        FUZZ_CHECK(result.storSuggestion == maxPart + ".");
    }
    if (session.intStorPct > 85) {
        basis = maxStorCars;
        FUZZ_CHECK(result.basisLine == "Based on the RECOMMENDATION of " + intToText(basis) + " cars in service:");
    } else {
        FUZZ_CHECK(result.basisLine == "Based on " + intToText(basis) + " cars in service:");
    }
    FUZZ_CHECK(result.heavyCars == std::floor(basis * 0.7));
    FUZZ_CHECK(result.averageCars == std::floor(basis * 0.5));
    FUZZ_CHECK(result.lightCars == std::floor(basis * 0.25));
    FUZZ_CHECK(!contains(result.storSuggestion, "  ") && !contains(result.basisLine, "  "));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    stdGeneral session;
    fillCarFactors(session);
    // Now and then a session whose factors were lost, which must fail, never crash.
    if (in.ConsumeIntegralInRange<int>(0, 15) == 0)
        session.vntCarFactors.resize(in.ConsumeIntegralInRange<std::size_t>(0, kCarClassCount - 1));
    const bool filled = session.vntCarFactors.size() == kCarClassCount;

    // 1..6 pick a scale; 0 and 7 put any bit pattern into the factor, NaN and infinity too.
    const int scale = in.ConsumeIntegralInRange<int>(0, 7);
    if (!selectScale(session, scale))
        session.sngCarsPerFoot = std::bit_cast<float>(in.ConsumeIntegral<std::uint32_t>());

    const bool anyFootage = in.ConsumeBool();
    session.intPassTrack = footage(in, anyFootage);
    session.intFuncTrack = footage(in, anyFootage);
    session.intStorTrack = footage(in, anyFootage);

    const bool anyCount = in.ConsumeBool();
    CarCounts counts{};
    for (auto &count : counts)
        count = anyCount ? in.ConsumeIntegral<std::int32_t>() : in.ConsumeIntegralInRange<std::int32_t>(0, 9999);
    const std::string_view separator = in.ConsumeBool() ? "," : ".";

    const AnalysisOutcome outcome = Analyze(session, counts, separator);
    FUZZ_CHECK(!outcome.valueless_by_exception());

    if (const auto *kind = std::get_if<FailureKind>(&outcome)) {
        FUZZ_CHECK(*kind == FailureKind::Overflow || *kind == FailureKind::DivisionByZero
                   || *kind == FailureKind::Undetermined);
        // With the factors in place every failure is one of the two the number rules raise.
        FUZZ_CHECK(!filled || *kind != FailureKind::Undetermined);
        FUZZ_CHECK(!failureMessage(*kind).empty());
        return 0;
    }

    FUZZ_CHECK(filled);
    const auto &result = std::get<AnalysisResult>(outcome);
    // The footage is exact in single precision and the product exact in double.
    FUZZ_CHECK(session.intFuncCap == std::floor(static_cast<double>(session.intFuncTrack) * session.sngCarsPerFoot));
    FUZZ_CHECK(session.intStorCap == std::floor(static_cast<double>(session.intStorTrack) * session.sngCarsPerFoot));
    checkPassing(result);
    checkFunctional(session, result, separator);
    checkStorageAndSessions(session, result);
    return 0;
}
