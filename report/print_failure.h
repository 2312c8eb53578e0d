// Why a report did not reach its destination: the kind of failure, the system's own words,
// and what the user is told.
#pragma once

#include <QString>

#include <stdexcept>

namespace trelvane {

enum class PrintFailureKind {
    PrintingSystemMissing, // the print server's client library is not installed
    ServerNotRunning,      // nothing answers at the print server's address
    ServerNotAnswering,    // the print server took the connection but did not answer in time
    NoPrinter,             // the print server answers but has no printer at all
    NoDefaultPrinter,      // it has printers, but none is the default
    PrinterNotAccepting,   // the printer is set to refuse new jobs
    PrinterNeedsAttention, // the printer cannot print until someone sees to it (offline,
                           // out of paper...); the detail says why, as "is out of paper"
    JobRefused,            // the printer would not take this job
    RenderFailed,          // the page could not be drawn into a PDF document
    FileNotWritten,        // the PDF file that the user chose could not be written
};

class PrintFailure : public std::runtime_error {
public:
    // destination: the queue or file concerned (may be empty); detail: what the system said.
    PrintFailure(PrintFailureKind kind, QString destination, QString detail);

    PrintFailureKind kind() const { return kind_; }
    const QString &destination() const { return destination_; }
    const QString &detail() const { return detail_; }

private:
    PrintFailureKind kind_;
    QString destination_;
    QString detail_;
};

// What went wrong and what to do, for the message box.
QString printFailureText(const PrintFailure &failure);

} // namespace trelvane
