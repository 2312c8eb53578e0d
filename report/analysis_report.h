// The one-page analysis report, written line by line onto a printer layer.
#pragma once

#include "report/printer_layer.h"
#include "report/report_content.h"

namespace trelvane {

// Prints the report and ends the document. A PrintFailure from the layer stops it at
// that operation and passes on to the caller.
void PrintAnalysisReport(const ReportContent &content, PrinterLayer &printer);

} // namespace trelvane
