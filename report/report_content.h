// Everything one printed report shows, taken from the session and the results window as
// plain values at the moment of printing.
#pragma once

#include <QString>

#include <cstdint>

namespace trelvane {

// The captions of the results window's nine result labels, exactly as they stand.
struct ReportCaptions {
    QString passSug;
    QString funcStatus;
    QString funcSug;
    QString storStatus;
    QString storSug;
    QString basis;
    QString hvy;
    QString med;
    QString lite;
};

struct ReportContent {
    QString roadName;
    QString date; // already in the locale's short format
    QString scale;
    std::int16_t passTrack = 0;
    std::int16_t funcTrack = 0;
    std::int16_t storTrack = 0;
    std::int16_t equivCars = 0;
    std::int16_t funcPct = 0;
    ReportCaptions captions;
};

} // namespace trelvane
