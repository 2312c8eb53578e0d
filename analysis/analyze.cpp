#include "analysis/analyze.h"

#include "analysis/number_rules.h"

#include <cmath>
#include <limits>

namespace trelvane {

namespace {

enum class StorageBand { Adequate, Marginal, Saturated };

// double to single precision, going to infinity beyond the float range as the hardware
// does, where a plain cast would be undefined.
float toSingle(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return std::numeric_limits<float>::infinity();
    if (value < -largest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::string passingSuggestion(const stdGeneral &session)
{
    const double factor = session.sngCarsPerFoot;
    const double neededFeet = divide(session.intPassCars, factor);
    // The comparison is made on the single-precision quotient: 36 cars in N scale need
    // 10.00000026 ft, which is 10 ft in single precision and so no shortfall.
    if (!(toSingle(neededFeet) > session.intPassTrack))
        return "Passing trackage is ADEQUATE.";
    std::int16_t shortfall = roundToInt16(neededFeet - session.intPassTrack);
    if (shortfall < 1)
        shortfall = 1;
    return concat({intToText(shortfall), " ft. of mainline passing track should be added."});
}

StorageBand storageBand(std::int16_t storPct)
{
    if (storPct > 85)
        return StorageBand::Saturated;
    if (storPct > 80)
        return StorageBand::Marginal;
    return StorageBand::Adequate;
}

AnalysisResult runAnalysis(stdGeneral &session, const CarCounts &carCounts,
                           std::string_view decimalSeparator)
{
    const double factor = session.sngCarsPerFoot;

    session.intFuncCap = floorToInt16(session.intFuncTrack * factor);
    session.intStorCap = floorToInt16(session.intStorTrack * factor);
    CountEquivCars(session, carCounts);

    const double equivCars = session.intEquivCars;
    session.intPassCars = roundToInt16((equivCars * 0.7) * 0.3);
    session.intFuncPct = roundToInt16(divide(equivCars * 0.7, session.intFuncCap) * 100);
    session.intStorPct = roundToInt16(divide(equivCars, session.intStorCap) * 100);
    const std::int16_t maxStorCars = floorToInt16(session.intStorCap * 0.8);
    // Worked out on every run, shown or not, so that it fails the same way either way.
    const std::int16_t addStorFt =
        roundToInt16(divide((equivCars * 1.25) - session.intStorCap, factor));

    AnalysisResult result;
    result.passSuggestion = passingSuggestion(session);

    if (functionalTrackageSaturated(session.intFuncPct)) {
        result.funcStatus = "Functional trackage is SATURATED!";
        result.funcSuggestion =
            concat({"Move no more than ", doubleToText(session.intFuncCap * 0.4, decimalSeparator),
                    " cars, or REDESIGN trackage."});
    } else {
        result.funcStatus = session.intFuncPct > 40 ? "Functional trackage is MARGINAL."
                                                    : "Functional trackage is ADEQUATE.";
    }

    const StorageBand band = storageBand(session.intStorPct);
    switch (band) {
    case StorageBand::Saturated:
        result.storStatus = "Yards are SATURATED!";
        break;
    case StorageBand::Marginal:
        result.storStatus = "Yard capacity is MARGINAL.";
        break;
    case StorageBand::Adequate:
        result.storStatus = "Yard capacity is ADEQUATE.";
        break;
    }
    result.storSuggestion = band == StorageBand::Adequate
        ? concat({"Use a max. of ", intToText(maxStorCars), " cars in service."})
        : concat({"Use a max. of ", intToText(maxStorCars), " cars in service, or add ",
                  intToText(addStorFt), " ft. of storage track."});

    // Only a saturated yard bases the sessions on the recommended maximum.
    const std::int16_t basisCars =
        band == StorageBand::Saturated ? maxStorCars : session.intEquivCars;
    result.basisLine = concat({band == StorageBand::Saturated ? "Based on the RECOMMENDATION of "
                                                              : "Based on ",
                               intToText(basisCars), " cars in service:"});
    result.heavyCars = floorToInt16(basisCars * 0.7);
    result.averageCars = floorToInt16(basisCars * 0.5);
    result.lightCars = floorToInt16(basisCars * 0.25);
    return result;
}

} // namespace

std::int16_t CountEquivCars(stdGeneral &session, const CarCounts &carCounts)
{
    if (session.vntCarFactors.size() != kCarClassCount)
        throw AnalysisFailure(FailureKind::Undetermined); // the factors were never filled

    float sum = 0.0f;
    for (std::size_t i = 0; i < kCarClassCount; ++i) {
        const std::int32_t count = carCounts[i];
        double product = 0;
        if (const auto *whole = std::get_if<std::int16_t>(&session.vntCarFactors[i]))
            product = static_cast<double>(static_cast<std::int64_t>(count) * *whole); // exact
        else
            product = count * std::get<double>(session.vntCarFactors[i]);
        // Each product and each running sum is kept in single precision.
        sum = sum + static_cast<float>(product);
    }
    session.intEquivCars = roundToInt16(sum);
    return session.intEquivCars;
}

AnalysisOutcome Analyze(stdGeneral &session, const CarCounts &carCounts,
                        std::string_view decimalSeparator)
{
    // Every failure of any step ends here, mapped to the message the user is shown.
    try {
        return runAnalysis(session, carCounts, decimalSeparator);
    } catch (const AnalysisFailure &failure) {
        return failure.kind();
    } catch (...) {
        return FailureKind::Undetermined;
    }
}

} // namespace trelvane
