// The two places a report can go: the system's default printer, or a PDF file that the
// user chose.
#pragma once

#include "report/printer_layer.h"

#include <QString>

#include <functional>
#include <memory>

namespace trelvane {

inline const QString kReportTitle = QStringLiteral("Trelvane analysis");

// Throws PrintFailure at once when there is no default printer or no print server, so
// nothing is drawn for a printer that cannot take it.
std::unique_ptr<PrinterLayer> openDefaultPrinter();

// The same page, written to path only when the document ends.
std::unique_ptr<PrinterLayer> openPdfFile(const QString &path);

struct PrintRoutes {
    std::function<std::unique_ptr<PrinterLayer>()> printer = openDefaultPrinter;
    std::function<std::unique_ptr<PrinterLayer>(const QString &path)> pdfFile = openPdfFile;
};

} // namespace trelvane
