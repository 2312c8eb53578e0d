// A CUPS server of the test's own: configuration, socket, spool and logs in a temporary
// folder, and a queue "capture" whose backend copies every job it prints into a file.
// The test process is pointed at it through CUPS_SERVER, with a private HOME and no
// PRINTER or LPDEST, so neither the machine's nor the user's printers can leak in.
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace trelvane::test {

class PrivateCupsServer {
public:
    PrivateCupsServer();
    ~PrivateCupsServer(); // stops the server
    PrivateCupsServer(const PrivateCupsServer &) = delete;
    PrivateCupsServer &operator=(const PrivateCupsServer &) = delete;

    // Points this process (and the tools it runs) at the server. Call before anything
    // asks libcups for its server: libcups keeps the first answer.
    void useInThisProcess() const;

    // Each returns false with the reason (and the server's log) in error.
    bool start(QString *error);
    bool addCaptureQueue(QString *error); // and makes it the default
    bool run(const QString &program, const QStringList &arguments, QString *error) const;
    void stop();
    bool isRunning() const;

    QString socketPath() const;
    QStringList capturedJobs() const; // finished job files, oldest first
    QStringList jobsKnownToServer() const; // ids from lpstat, all states
    QString log() const;

private:
    bool prepare(QString *error);
    bool answers() const;

    QTemporaryDir dir_;
    QProcess cupsd_;
    bool prepared_ = false;
};

} // namespace trelvane::test
