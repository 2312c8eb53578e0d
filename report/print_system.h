// The system's side of printing: its printers, the default one and the paper each is
// loaded with, sending a laid-out report to one, the locale's paper and short date, and
// how messages name the print service. One implementation per platform: CUPS through
// libcups on Linux (cups_printer.cpp), the print spooler on Windows (windows_spooler.cpp);
// nothing else knows which one it runs on.
#pragma once

#include <QDate>
#include <QList>
#include <QPageSize>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace trelvane {

class PdfPageLayer;

// A printer as the system describes it.
struct PrintQueue {
    QString name;
    QString description;            // the printer's name when it was given none
    std::optional<QPageSize> paper; // the paper it is loaded with, when it says
    bool paused = false;            // stopped: jobs wait in the queue
    QString stateMessage;           // the system's words for its state ("Out of paper")
    QString attention;              // why it cannot print now ("is out of paper"), if so
};

// One conversation with the system's print service. All its requests end by one
// deadline, after which the service counts as not answering. Each call blocks until the
// service has answered or the deadline passed, so run them off the window's thread.
class PrintServer {
public:
    // How long one print may wait for the service in all, connection included: long enough
    // for a remote server, short enough for a user looking at a busy window.
    static constexpr std::chrono::seconds kPatience{10};

    // Connects; the deadline starts now. Throws PrintFailure (PrintingSystemMissing,
    // ServerNotRunning, ServerNotAnswering).
    PrintServer();
    ~PrintServer();
    PrintServer(const PrintServer &) = delete;
    PrintServer &operator=(const PrintServer &) = delete;

    // The system's default printer, or nothing when none is set. Throws PrintFailure
    // (ServerNotRunning, ServerNotAnswering, NoDefaultPrinter when the default named by the
    // user's settings does not exist).
    std::optional<PrintQueue> defaultQueue();

    // Every printer there is, by name. Throws PrintFailure as defaultQueue does.
    QList<PrintQueue> queues();

    // The printer of that name as it stands now. Throws PrintFailure (JobRefused when there
    // is no such printer, and as defaultQueue does).
    PrintQueue queue(const QString &name);

    // Sends the finished document as one job and returns the printer as it stands once the
    // whole document is with it. Throws PrintFailure (PrinterNotAccepting, JobRefused,
    // ServerNotRunning, ServerNotAnswering); a job given up on is withdrawn.
    PrintQueue submit(const QString &queue, const PdfPageLayer &document);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

// How the messages name the print service, and what the user does to start it, restart it
// or install it; `where` is the service's address, as a failure of it gives it.
struct PrintServiceWords {
    QString name;    // "the print server (CUPS at localhost:631)"
    QString start;   // "Start the printing service (...)"
    QString restart; // "restart the printing service (...)"
    QString install; // "Install the package libcups2"
};
PrintServiceWords printServiceWords(const QString &where);

// The paper of the user's locale (Letter in the United States, Canada or Mexico), or A4
// where the locale names none.
QPageSize localePaper();

// The date in the user's short date format, as the system writes it: 12/08/2026 in the
// United States, 08.12.2026 in Germany.
QString shortDate(const QDate &date);

} // namespace trelvane
