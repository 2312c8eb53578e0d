#include "report/report_routes.h"

#include "report/cups_queue.h"
#include "report/pdf_page_layer.h"
#include "report/print_failure.h"

#include <QLocale>
#include <QSaveFile>

namespace trelvane {

std::unique_ptr<PrinterLayer> openDefaultPrinter()
{
    auto queue = std::make_shared<CupsDefaultQueue>();
    return std::make_unique<PdfPageLayer>(
        kReportTitle, pageSizeForLocale(QLocale()),
        [queue](const QByteArray &pdf) { queue->submitPdf(pdf, kReportTitle); });
}

std::unique_ptr<PrinterLayer> openPdfFile(const QString &path)
{
    return std::make_unique<PdfPageLayer>(
        kReportTitle, pageSizeForLocale(QLocale()), [path](const QByteArray &pdf) {
            // Written beside the target and renamed, so a failed save leaves no broken file.
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()
                || !file.commit())
                throw PrintFailure(PrintFailureKind::FileNotWritten, path, file.errorString());
        });
}

} // namespace trelvane
