// The session state that the windows and the analysis share for one run of the program.
#pragma once

#include "analysis/car_classes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trelvane {

// The module-level fields, in their declaration order and with their start values.
// Nothing of it is saved between runs.
struct stdGeneral {
    float sngCarsPerFoot = 0;
    std::string strScale;
    std::vector<CarFactor> vntCarFactors; // filled with the eight factors when the input window loads
    std::int16_t intPassTrack = 0;
    std::int16_t intFuncTrack = 0;
    std::int16_t intStorTrack = 0;
    std::int16_t intFuncCap = 0;
    std::int16_t intStorCap = 0;
    std::int16_t intFuncPct = 0;
    std::int16_t intStorPct = 0;
    std::int16_t intEquivCars = 0;
    std::int16_t intPassCars = 0;
    std::string strRoadName; // UTF-8
    bool blnPrintOK = false;
};

// Fills vntCarFactors from the car-class table, each element with its own number type.
void fillCarFactors(stdGeneral &session);

// Sets sngCarsPerFoot and strScale from the scale table. An index outside 1..6 changes
// nothing and returns false.
bool selectScale(stdGeneral &session, int index);

} // namespace trelvane
