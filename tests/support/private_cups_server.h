// A CUPS server of the test's own: configuration, socket, spool and logs in a temporary
// folder, and queues whose backend copies every job it prints into a folder of the queue's
// own: "capture", raw and the default, and others with a real driver chain, or a driverless
// IPP Everywhere printer of the test's own behind them. The test process is pointed at it
// through CUPS_SERVER, with a private HOME and no PRINTER or LPDEST, so neither the
// machine's nor the user's printers can leak in.
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
    // What most tests want: this process pointed at the server, the server started and the
    // capture queue added as the default.
    bool startForThisProcess(QString *error);
    bool addCaptureQueue(QString *error); // "capture", raw, and makes it the default
    // A capturing queue with lpadmin's further options, e.g. a driver and its paper:
    // {"-m", "drv:///sample.drv/generic.ppd", "-o", "PageSize=A4"}.
    bool addQueue(const QString &name, const QString &description, const QStringList &options,
                  QString *error);
    // An IPP Everywhere printer loaded with A4 and taking PDF (ippeveprinter, announced on
    // a private D-Bus and Avahi of its own), added as a queue with lpadmin -m everywhere;
    // the printer is started once and outlives the queue.
    bool addEverywherePrinter(const QString &name, QString *error);
    bool run(const QString &program, const QStringList &arguments, QString *error) const;
    void stop();
    bool isRunning() const;
    // Stops and resumes the server's process: it still takes connections, but answers none.
    void freeze();
    void thaw();

    QString socketPath() const;
    // Finished job files of a capturing queue, oldest first.
    QStringList capturedJobs(const QString &queue = QStringLiteral("capture")) const;
    QStringList everywhereJobs() const; // PDF documents the IPP Everywhere printer received
    QStringList jobsKnownToServer() const; // ids from lpstat, all states
    QString log() const;

private:
    bool prepare(QString *error);
    bool answers() const;
    bool startHelper(QProcess &process, const QString &program, const QStringList &arguments,
                     QString *error);

    QTemporaryDir dir_;
    QProcess cupsd_;
    // The IPP Everywhere printer and what it needs to announce itself.
    QProcess dbus_, avahi_, everywhere_;
    QString everywhereUri_;
    bool prepared_ = false;
};

} // namespace trelvane::test
