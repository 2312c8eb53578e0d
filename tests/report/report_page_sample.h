// The worked example's page as it is read back from a printed or saved report.
#pragma once

#include <QStringList>

namespace trelvane::test {

// The saturated example's page as pdftohtml reads it back, blanks included, dated `date`.
inline QStringList pineRidgeSaturatedPage(const QString &date)
{
    return {
        "*** TRELVANE ***",
        "Prepared for Pine Ridge",
        "Date:  " + date,
        "Input data furnished:",
        "      Your SCALE:  HO",
        "      Mainline PASSING track length:  10 ft.",
        "      FUNCTIONAL track length:  18 ft.",
        "      Total STORAGE track length:  100 ft.",
        "      EQUIVALENT number of 40' cars in service:  30",
        "*** TRACKAGE ANALYSIS ***",
        "Passing trackage is ADEQUATE.",
        "Functional trackage is SATURATED!",
        "      Move no more than 14.4 cars, or REDESIGN trackage.",
        "Yard capacity is ADEQUATE.",
        "      Use a max. of 160 cars in service.",
        "*** OPERATING ANALYSIS ***",
        "Based on 30 cars in service:",
        "      Move 21 cars for a HEAVY session.",
        "      Move 15 cars for an AVERAGE session.",
        "      Move 7 cars for a LIGHT session.",
        // pdftohtml reads the gap before the second zone as one blank
        "      Warning! Operation may not be satisfactory using these",
        "figures unless functional trackage is redesigned.",
    };
}

} // namespace trelvane::test
