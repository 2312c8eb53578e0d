// The print server and its queues, reached through libcups directly so that every answer
// is checked: a refused job is reported, never taken as sent, and a server that does not
// answer is told from one that has no printer. libcups is loaded when the first report
// goes to a printer rather than when the program starts: it brings some twenty libraries
// (TLS, Kerberos, service discovery) with it, which a session that never prints does not
// need.
#pragma once

#include "report/print_failure.h"

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

typedef struct _http_s http_t;

namespace trelvane {

// A print queue as the server describes it.
struct PrintQueue {
    QString name;
    QString description;            // the queue's name when it was given none
    std::optional<QPageSize> paper; // the paper it is loaded with, when it says
    bool paused = false;            // stopped: jobs wait in the queue
    QString stateMessage;           // the server's words for its state ("Out of paper")
};

// One conversation with the print server that libcups is configured for (CUPS_SERVER,
// client.conf). All its requests end by one deadline, after which the server counts as not
// answering. Each call blocks until the server has answered or the deadline passed,
// so run them off the window's thread; libcups keeps its errors per thread, and they are
// read where the call was made.
class PrintServer {
public:
    // How long one print may wait for the server in all, connection included: long enough
    // for a remote server, short enough for a user looking at a busy window.
    static constexpr std::chrono::seconds kPatience{10};

    // Connects; the deadline starts now. Throws PrintFailure (PrintingSystemMissing,
    // ServerNotRunning).
    PrintServer();
    ~PrintServer();
    PrintServer(const PrintServer &) = delete;
    PrintServer &operator=(const PrintServer &) = delete;

    // The system's default queue, or nothing when none is set. Throws PrintFailure
    // (ServerNotRunning, ServerNotAnswering, NoDefaultPrinter when the default named by the
    // user's settings does not exist).
    std::optional<PrintQueue> defaultQueue();

    // Every queue the server has, by name. Throws PrintFailure as defaultQueue does.
    QList<PrintQueue> queues();

    // The queue of that name as it stands now. Throws PrintFailure (JobRefused when there
    // is no such queue, and as defaultQueue does).
    PrintQueue queue(const QString &name);

    // Submits one PDF document as one job and returns the queue as it stands once the
    // whole document is in it. Throws PrintFailure (PrinterNotAccepting, JobRefused,
    // ServerNotRunning, ServerNotAnswering).
    PrintQueue submitPdf(const QString &queue, const QByteArray &pdf, const QString &title);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

} // namespace trelvane
