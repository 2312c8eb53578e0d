// The one-page analysis report: what it shows, taken as plain values at the moment of
// printing, and the lines it writes onto a printer layer.
#pragma once

#include "analysis/session_state.h"
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

// The session's figures and the captions the results window shows at this moment, dated
// today in the system's short date format.
ReportContent reportContent(const stdGeneral &session, const ReportCaptions &captions);

// Prints the report and ends the document. A PrintFailure from the layer stops it at
// that operation and passes on to the caller.
void PrintAnalysisReport(const ReportContent &content, PrinterLayer &printer);

// The report as plain text, line for line and indented with blanks as it prints, for
// pasting into a message: without the page's leading empty lines, a zone advance as the
// blanks to the next 14-column zone, and the "Prepared for" line only when a name was given.
QString reportText(const ReportContent &content);

} // namespace trelvane
