// The one-page analysis report: what it shows, taken as plain values at the moment of
// printing, and the lines it writes onto a printer layer.
#pragma once

#include "report/printer_layer.h"

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

// Prints the report and ends the document. A PrintFailure from the layer stops it at
// that operation and passes on to the caller.
void PrintAnalysisReport(const ReportContent &content, PrinterLayer &printer);

} // namespace trelvane
