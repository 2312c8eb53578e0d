// What the results window's Print button does: ask for the railroad's name, print the
// report on the default printer, and only once it has been handed over show the printing
// message; when it cannot be printed, say why and offer to save it as a PDF file instead.
#pragma once

#include "analysis/session_state.h"
#include "report/analysis_report.h"

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
    virtual ReportCaptions captions() const = 0;
    // Repaints the whole window at once.
    virtual void repaintNow() = 0;
    // Shows "Sending analysis to printer" and starts the timer that hides it again.
    virtual void showPrintingMessage() = 0;

protected:
    ~PrintingWindow() = default;
};

// The sequence itself, for the session whose analysis the window shows.
void runPrintSequence(PrintingWindow &window, stdGeneral &session);

} // namespace trelvane
