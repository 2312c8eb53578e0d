// Why a report did not reach its destination: the kind of failure, the system's own words,
// and what the user is told.
#pragma once

#include <QString>

#include <stdexcept>

namespace trelvane {

enum class PrintFailureKind {
    NoDefaultPrinter,      // the printing system answers but names no default queue
    ServerUnreachable,     // the printing system cannot be reached at all
    PrintingSystemMissing, // its client library is not installed, or not the one expected
    JobRefused,            // the default queue would not take the job
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
