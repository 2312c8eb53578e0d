// The report content of the two worked examples, shared by the report tests.
#pragma once

#include "report/analysis_report.h"

namespace trelvane::test {

// HO, passing 10 ft., functional 18 ft., storage 100 ft., thirty 40-foot cars,
// "Pine Ridge", printed on 5 March 2026 (month/day/year).
inline ReportContent pineRidgeSaturated()
{
    ReportContent c;
    c.roadName = "Pine Ridge";
    c.date = "3/5/2026";
    c.scale = "HO";
    c.passTrack = 10;
    c.funcTrack = 18;
    c.storTrack = 100;
    c.equivCars = 30;
    c.funcPct = 58;
    c.captions = {"Passing trackage is ADEQUATE.",
                  "Functional trackage is SATURATED!",
                  "Move no more than 14.4 cars, or REDESIGN trackage.",
                  "Yard capacity is ADEQUATE.",
                  "Use a max. of 160 cars in service.",
                  "Based on 30 cars in service:",
                  "Move 21 cars for a HEAVY session.",
                  "Move 15 cars for an AVERAGE session.",
                  "Move 7 cars for a LIGHT session."};
    return c;
}

// The same layout with 50 ft. of functional track: 21 %, adequate, no suggestion.
inline ReportContent pineRidgeAdequate()
{
    ReportContent c = pineRidgeSaturated();
    c.funcTrack = 50;
    c.funcPct = 21;
    c.captions.funcStatus = "Functional trackage is ADEQUATE.";
    c.captions.funcSug = "";
    return c;
}

} // namespace trelvane::test
