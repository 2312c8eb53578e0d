#include "report/print_sequence.h"

#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "report/analysis_report.h"
#include "report/print_failure.h"
#include "report/print_failure_text.h"
#include "report/report_from_window.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <optional>

namespace trelvane {
namespace {

// Tells the user why the report did not go out and returns the file they chose to save
// it in instead, if they did.
std::optional<QString> askForPdfInstead(frmAnswers &answers, const PrintFailure &failure)
{
    QMessageBox box(QMessageBox::Warning, answers.windowTitle(), printFailureText(failure),
                    QMessageBox::NoButton, &answers);
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

    QFileDialog dialog(&answers, "Save the analysis as PDF",
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
void saveInstead(frmAnswers &answers, const ReportContent &content, const PrintRoutes &routes,
                 const PrintFailure &firstFailure)
{
    PrintFailure failure = firstFailure;
    while (const std::optional<QString> path = askForPdfInstead(answers, failure)) {
        try {
            const auto file = routes.pdfFile(*path);
            PrintAnalysisReport(content, *file);
            return;
        } catch (const PrintFailure &saveFailure) {
            failure = saveFailure;
        }
    }
}

void runPrintSequence(frmAnswers &answers, stdGeneral &session, const PrintRoutes &routes)
{
    {
        frmGetRoad prompt(session, &answers);
        prompt.exec();
    }
    answers.repaint();
    if (!session.blnPrintOK)
        return;

    // Read once, so a PDF saved after a failed print shows exactly what was to be printed.
    const ReportContent content = reportContentFrom(session, answers, QDate::currentDate());
    try {
        const auto printer = routes.printer();
        PrintAnalysisReport(content, *printer);
    } catch (const PrintFailure &failure) {
        saveInstead(answers, content, routes, failure);
        return;
    }
    answers.lblMessage->setVisible(true);
    answers.tmrMsgTimer->start();
}

} // namespace

PrintSequence makePrintSequence(stdGeneral &session, PrintRoutes routes)
{
    return [&session, routes = std::move(routes)](frmAnswers &answers) {
        runPrintSequence(answers, session, routes);
    };
}

} // namespace trelvane
