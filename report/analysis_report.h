// The one-page analysis report: what it shows, taken as plain values at the moment of
// printing, and the lines it writes onto a printer layer. Plain C++: the desktop program
// and the web page print the same lines.
#pragma once

#include "analysis/result_captions.h"
#include "analysis/session_state.h"
#include "report/printer_layer.h"

#include <cstdint>
#include <string>

namespace trelvane {

// Texts are UTF-8.
struct ReportContent {
    std::string roadName;
    std::string date; // already in the locale's short format
    std::string scale;
    std::int16_t passTrack = 0;
    std::int16_t funcTrack = 0;
    std::int16_t storTrack = 0;
    std::int16_t equivCars = 0;
    std::int16_t funcPct = 0;
    ResultCaptions captions; // exactly as the results window shows them
};

// The session's figures and railroad name with the captions the results window shows at
// this moment, dated `date`.
ReportContent reportContent(const stdGeneral &session, const ResultCaptions &captions,
                            std::string date);

// Prints the report and ends the document. A failure of the layer stops it at that
// operation and passes on to the caller.
void PrintAnalysisReport(const ReportContent &content, PrinterLayer &printer);

// The report as plain text, line for line and indented with blanks as it prints, for
// pasting into a message: without the page's leading empty lines, a zone advance as the
// blanks to the next 14-column zone, and the "Prepared for" line only when a name was given.
// Each line ends with a line feed.
std::string reportText(const ReportContent &content);

} // namespace trelvane
