// What the results window's ways out do: Print asks for the railroad's name, prints the
// report on the default printer, and only once it has been handed over shows the printing
// message; when it cannot be printed, it says why and offers another printer or a PDF file
// instead. The same report can go to a printer the user chooses, into a PDF file, or be
// laid out for a preview, always on the paper the default printer would print it on.
#pragma once

#include "analysis/session_state.h"
#include "report/analysis_report.h"
#include "report/pdf_page_layer.h"

#include <exception>
#include <optional>

class QWidget;

namespace trelvane {

// What the print sequence needs of the window whose Print button runs it.
class PrintingWindow {
public:
    // The window itself, over which the sequence's messages open.
    virtual QWidget &widget() = 0;
    // Opens the railroad-name prompt modal over the window and returns once it has closed;
    // the prompt writes the session's strRoadName and blnPrintOK.
    virtual void askForRoadName() = 0;
    // The captions of the nine result labels, exactly as they stand.
    virtual ResultCaptions captions() const = 0;
    // Repaints the whole window at once.
    virtual void repaintNow() = 0;
    // Shows "Sending analysis to printer" and starts the timer that hides it again.
    virtual void showPrintingMessage() = 0;

protected:
    ~PrintingWindow() = default;
};

// The session's figures and the given captions, dated today in the system's short date
// format.
ReportContent reportToday(const stdGeneral &session, const ResultCaptions &captions);

// Print: the name, then the report on the default printer.
void runPrintSequence(PrintingWindow &window, stdGeneral &session);

// What every way out but copying begins with: the name prompt and the repaint, then, when
// the name was confirmed, the report as it stands now; nothing when it was not.
std::optional<ReportContent> askForReport(PrintingWindow &window, stdGeneral &session);

// Sends the report to the named printer, or the default one, then shows the printing
// message; a failure of the printer is told, with another printer or a PDF file offered
// instead. Anything else thrown is for the caller to tell (tellWhyNotSent).
void printReport(PrintingWindow &window, const ReportContent &content,
                 std::optional<QString> printer = std::nullopt);

// Lists every printer, the default marked and chosen, and prints on the one picked.
void printOnChosenPrinter(PrintingWindow &window, const ReportContent &content);

// Asks for a file, named after the railroad and the day, and writes the report into it
// whole, on the default printer's paper; asks again while the file cannot be written.
void saveReportAsPdf(QWidget &window, const ReportContent &content);

// The pages exactly as Print would send them, on the default printer's paper. Throws
// PrintFailure when the page cannot be drawn.
QList<DrawnPage> layOutReport(const ReportContent &content);

// Tells the user, over the window, why the analysis did not go out. Nothing that fails on
// the way out may cross the event loop: the window stays open for another try.
void tellWhyNotSent(QWidget &window, const std::exception &failure);

} // namespace trelvane
