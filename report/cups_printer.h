// The system's default print queue, reached through libcups directly so that every
// answer of the print server is checked; a refused job is reported, never taken as sent.
// libcups is loaded when the first report goes to a printer rather than when the program
// starts: it brings some twenty libraries (TLS, Kerberos, service discovery) with it,
// which a session that never prints does not need.
#pragma once

#include "report/print_failure.h"

#include <QByteArray>
#include <QString>

#include <memory>

typedef struct _http_s http_t;

namespace trelvane {

class CupsDefaultQueue {
public:
    // Connects to the print server that libcups is configured for (CUPS_SERVER,
    // client.conf) and looks up the default destination. Throws PrintFailure
    // (PrintingSystemMissing, ServerUnreachable, NoDefaultPrinter).
    CupsDefaultQueue();
    ~CupsDefaultQueue();
    CupsDefaultQueue(const CupsDefaultQueue &) = delete;
    CupsDefaultQueue &operator=(const CupsDefaultQueue &) = delete;

    const QString &name() const { return name_; }

    // Submits one PDF document as one job. Returns when the server has accepted the whole
    // document; throws PrintFailure (JobRefused, ServerUnreachable) otherwise.
    void submitPdf(const QByteArray &pdf, const QString &title);

private:
    struct HttpClose {
        void operator()(http_t *http) const;
    };
    std::unique_ptr<http_t, HttpClose> http_;
    QString name_;
};

} // namespace trelvane
