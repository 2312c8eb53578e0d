#include "report/print_sequence.h"

#include "report/cups_printer.h"
#include "report/pdf_page_layer.h"
#include "report/print_failure.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>

#include <exception>
#include <memory>
#include <optional>

namespace trelvane {
namespace {

const QString kReportTitle = QStringLiteral("Trelvane analysis");

// The session's figures and the captions the window shows at this moment, dated today in
// the locale's short format.
ReportContent reportContent(const stdGeneral &session, const ReportCaptions &captions)
{
    ReportContent content;
    content.roadName = QString::fromStdString(session.strRoadName);
    content.date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    content.scale = QString::fromStdString(session.strScale);
    content.passTrack = session.intPassTrack;
    content.funcTrack = session.intFuncTrack;
    content.storTrack = session.intStorTrack;
    content.equivCars = session.intEquivCars;
    content.funcPct = session.intFuncPct;
    content.captions = captions;
    return content;
}

// The page for the default printer; throws PrintFailure at once when there is no default
// printer or no print server, so nothing is drawn for a printer that cannot take it.
std::unique_ptr<PrinterLayer> openDefaultPrinter()
{
    auto queue = std::make_shared<CupsDefaultQueue>();
    return std::make_unique<PdfPageLayer>(
        kReportTitle, pageSizeForLocale(QLocale()),
        [queue](const QByteArray &pdf) { queue->submitPdf(pdf, kReportTitle); });
}

// The same page, written to path only when the document ends.
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

// Tells the user why the report did not go out and returns the file they chose to save
// it in instead, if they did.
std::optional<QString> askForPdfInstead(QWidget &window, const PrintFailure &failure)
{
    QMessageBox box(QMessageBox::Warning, window.windowTitle(), printFailureText(failure),
                    QMessageBox::NoButton, &window);
    box.setObjectName("msgPrintFailure");
    QPushButton *save = box.addButton("Save as PDF...", QMessageBox::AcceptRole);
    save->setObjectName("cmdSavePdf");
    QPushButton *close = box.addButton(QMessageBox::Close);
    close->setObjectName("cmdClose");
    box.setDefaultButton(close);
    box.setEscapeButton(close);
    box.exec();
    if (box.clickedButton() != save)
        return std::nullopt;

    QFileDialog dialog(&window, "Save the analysis as PDF",
                       QDir::home().filePath("Trelvane analysis.pdf"), "PDF files (*.pdf)");
    dialog.setObjectName("dlgSavePdf");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("pdf");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// Offers the same report as a PDF file until it is saved or the user declines.
void saveInstead(QWidget &window, const ReportContent &content, const PrintFailure &firstFailure)
{
    PrintFailure failure = firstFailure;
    while (const std::optional<QString> path = askForPdfInstead(window, failure)) {
        try {
            PrintAnalysisReport(content, *openPdfFile(*path));
            return;
        } catch (const PrintFailure &saveFailure) {
            failure = saveFailure;
        }
    }
}

} // namespace

void runPrintSequence(PrintingWindow &window, stdGeneral &session)
{
    window.askForRoadName();
    window.repaintNow();
    if (!session.blnPrintOK)
        return;

    // Read once, so a PDF saved after a failed print shows exactly what was to be printed.
    const ReportContent content = reportContent(session, window.captions());
    try {
        PrintAnalysisReport(content, *openDefaultPrinter());
    } catch (const PrintFailure &failure) {
        saveInstead(window.widget(), content, failure);
        return;
    } catch (const std::exception &failure) {
        // Nothing may cross the event loop; the window stays open for another try.
        QMessageBox::warning(&window.widget(), window.widget().windowTitle(),
                             QString("The analysis could not be printed: %1")
                                 .arg(QString::fromLocal8Bit(failure.what())));
        return;
    }
    window.showPrintingMessage();
}

} // namespace trelvane
