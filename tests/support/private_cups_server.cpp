#include "private_cups_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <functional>

#include <algorithm>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace trelvane::test {
namespace {

const char *const kSystemServerBin = "/usr/lib/cups";

// Copies each job to <folder>/job-<id>.pdf, or .ps where a driver made PostScript of it;
// renamed into place only once complete, so a file that exists is a whole job.
const char *const kCaptureBackend = R"(#!/bin/sh
if [ $# -eq 0 ]; then
    echo 'direct capture "Unknown" "Trelvane test capture"'
    exit 0
fi
folder=${DEVICE_URI#capture:}
part="$folder/.job-$1.part"
if [ $# -ge 6 ]; then cat "$6" > "$part" || exit 1; else cat > "$part" || exit 1; fi
case $(head -c 4 "$part") in
    %PDF) kind=pdf ;;
    %!*) kind=ps ;;
    *) kind=prn ;;
esac
mv "$part" "$folder/job-$1.$kind"
)";

// Avahi for the IPP Everywhere printer to announce itself with, on the loopback only.
const char *const kAvahiConfig = R"([server]
use-ipv4=yes
use-ipv6=no
allow-interfaces=lo
enable-dbus=yes
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
publish-addresses=no
publish-domain=no
)";

bool waitFor(const std::function<bool()> &ready, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!ready()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// A TCP port on the loopback that nothing listens on right now.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The server and its admin tools live in sbin, which an ordinary user's PATH may lack.
QString toolPath(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty())
        return found;
    const QString admin =
        QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin", "/sbin"});
    return admin.isEmpty() ? name : admin;
}

bool writeFile(const QString &path, const QByteArray &content, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        *error = QString("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

// The socket path must stay short (sockaddr_un), so the folder lives under /tmp.
PrivateCupsServer::PrivateCupsServer() : dir_(QDir::tempPath() + "/trelvane-cups-XXXXXX")
{
    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    // Should the test process die, the kernel ends its server too.
    cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

PrivateCupsServer::~PrivateCupsServer() { stop(); }

QString PrivateCupsServer::socketPath() const { return dir_.filePath("cups.sock"); }

void PrivateCupsServer::useInThisProcess() const
{
    qputenv("CUPS_SERVER", socketPath().toLocal8Bit());
    qputenv("HOME", dir_.filePath("home").toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
}

bool PrivateCupsServer::prepare(QString *error)
{
    if (prepared_)
        return true;
    if (!dir_.isValid()) {
        *error = "cannot create the server's temporary folder: " + dir_.errorString();
        return false;
    }
    // Open to all: a root cupsd runs its helpers and filters as "lp", which must reach them.
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                           | QFile::ReadGroup | QFile::ExeGroup
                                           | QFile::ReadOther | QFile::ExeOther);
    const QDir root(dir_.path());
    for (const char *sub : {"etc/ppd", "etc/ssl", "spool/tmp", "cache", "state", "log", "jobs",
                            "home", "bin/backend", "everywhere"}) {
        if (!root.mkpath(sub)) {
            *error = QString("cannot create %1").arg(root.filePath(sub));
            return false;
        }
    }
    // The server's programs: the system's filters and helpers, but only our backend.
    const QDir system(kSystemServerBin);
    if (!system.exists()) {
        *error = QString("%1 is missing: is cups installed?").arg(kSystemServerBin);
        return false;
    }
    for (const QString &entry : system.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry != "backend"
            && !QFile::link(system.filePath(entry), root.filePath("bin/" + entry))) {
            *error = QString("cannot link %1").arg(system.filePath(entry));
            return false;
        }
    }
    const QString backend = root.filePath("bin/backend/capture");
    if (!writeFile(backend, kCaptureBackend, error))
        return false;
    // Owner-only: a root cupsd then runs it as root rather than as "lp", so it may write
    // into our folder; a cupsd of an ordinary user runs it as that user.
    QFile::setPermissions(backend, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The system's IPP backend, for a queue of a network printer.
    if (!QFile::link(system.filePath("backend/ipp"), root.filePath("bin/backend/ipp"))) {
        *error = "cannot link the ipp backend";
        return false;
    }

    const QString d = dir_.path();
    const QByteArray files = QString("ServerRoot %1/etc\n"
                                     "ServerBin %1/bin\n"
                                     "RequestRoot %1/spool\n"
                                     "TempDir %1/spool/tmp\n"
                                     "CacheDir %1/cache\n"
                                     "StateDir %1/state\n"
                                     "ErrorLog %1/log/error_log\n"
                                     "AccessLog %1/log/access_log\n"
                                     "PageLog %1/log/page_log\n"
                                     "FileDevice No\n")
                                 .arg(d)
                                 .toLocal8Bit();
    const QByteArray server = QString("Listen %1\n"
                                      "LogLevel debug\n"
                                      "Browsing No\n"
                                      "WebInterface No\n"
                                      "DefaultAuthType None\n"
                                      "DirtyCleanInterval 0\n"
                                      "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                      "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                      "  </Limit>\n</Policy>\n")
                                  .arg(socketPath())
                                  .toLocal8Bit();
    if (!writeFile(root.filePath("etc/cups-files.conf"), files, error)
        || !writeFile(root.filePath("etc/cupsd.conf"), server, error))
        return false;
    prepared_ = true;
    return true;
}

bool PrivateCupsServer::start(QString *error)
{
    if (!prepare(error))
        return false;
    if (isRunning())
        return true;
    const QDir root(dir_.path());
    cupsd_.start(toolPath("cupsd"), {"-f", "-c", root.filePath("etc/cupsd.conf"), "-s",
                           root.filePath("etc/cups-files.conf")});
    if (!cupsd_.waitForStarted(10000)) {
        *error = "cupsd did not start: " + cupsd_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (cupsd_.state() != QProcess::Running) {
            *error = QString("cupsd stopped at once:\n%1\n%2")
                         .arg(QString::fromLocal8Bit(cupsd_.readAll()), log());
            return false;
        }
        if (answers())
            return true;
        QThread::msleep(50);
    }
    *error = "cupsd did not answer within 20 seconds:\n" + log();
    stop();
    return false;
}

bool PrivateCupsServer::answers() const
{
    // lpstat -r exits 0 either way; only its words tell.
    QProcess lpstat;
    lpstat.start(toolPath("lpstat"), {"-r"});
    lpstat.waitForFinished(10000);
    return lpstat.readAllStandardOutput().startsWith("scheduler is running");
}

bool PrivateCupsServer::run(const QString &program, const QStringList &arguments,
                            QString *error) const
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(toolPath(program), arguments);
    if (!tool.waitForFinished(20000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0) {
        *error = QString("%1 %2 failed: %3 %4")
                     .arg(program, arguments.join(' '), tool.errorString(),
                          QString::fromLocal8Bit(tool.readAll()));
        return false;
    }
    return true;
}

bool PrivateCupsServer::startForThisProcess(QString *error)
{
    useInThisProcess();
    return start(error) && addCaptureQueue(error);
}

bool PrivateCupsServer::addCaptureQueue(QString *error)
{
    return run("lpadmin", {"-p", "capture", "-E", "-v", "capture:" + dir_.filePath("jobs")},
               error)
           && run("lpadmin", {"-d", "capture"}, error);
}

bool PrivateCupsServer::addQueue(const QString &name, const QString &description,
                                 const QStringList &options, QString *error)
{
    const QString folder = dir_.filePath("jobs-" + name);
    if (!QDir().mkpath(folder)) {
        *error = "cannot create " + folder;
        return false;
    }
    return run("lpadmin",
               QStringList{"-p", name, "-E", "-D", description, "-v", "capture:" + folder}
                   + options,
               error);
}

bool PrivateCupsServer::startHelper(QProcess &process, const QString &program,
                                    const QStringList &arguments, QString *error)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A private system bus, unless the machine's own Avahi already answers on its bus.
    if (QFile::exists(dir_.filePath("bus.sock")))
        environment.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + dir_.filePath("bus.sock"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.start(toolPath(program), arguments);
    if (!process.waitForStarted(10000)) {
        *error = program + " did not start: " + process.errorString();
        return false;
    }
    return true;
}

bool PrivateCupsServer::addEverywherePrinter(const QString &name, QString *error)
{
    if (everywhere_.state() == QProcess::Running)
        return run("lpadmin", {"-p", name, "-E", "-v", everywhereUri_, "-m", "everywhere"}, error);
    // The printer takes its A4 paper and PDF from the PPD of a generic PostScript queue.
    const QString driverQueue = name + "-driver";
    if (!addQueue(driverQueue, driverQueue,
                  {"-m", "drv:///sample.drv/generic.ppd", "-o", "PageSize=A4"}, error))
        return false;
    const QString ppd = dir_.filePath("everywhere/printer.ppd");
    if (!QFile::copy(dir_.filePath("etc/ppd/" + driverQueue + ".ppd"), ppd)
        || !run("lpadmin", {"-x", driverQueue}, error)) {
        *error += " (the PPD of the IPP Everywhere printer)";
        return false;
    }

    // ippeveprinter will not start without Avahi to announce it.
    QProcess avahiCheck;
    avahiCheck.start(toolPath("avahi-daemon"), {"--check"});
    const bool systemAvahi = avahiCheck.waitForFinished(10000) && avahiCheck.exitCode() == 0;
    if (!systemAvahi) {
        const QString bus = dir_.filePath("bus.sock");
        if (!startHelper(dbus_, "dbus-daemon",
                         {"--session", "--nofork", "--address=unix:path=" + bus}, error)
            || !waitFor([&] { return QFile::exists(bus); }, 10000)
            || !writeFile(dir_.filePath("everywhere/avahi.conf"), kAvahiConfig, error)
            || !startHelper(avahi_, "avahi-daemon",
                            {"-f", dir_.filePath("everywhere/avahi.conf"), "--no-drop-root",
                             "--no-chroot", "--no-rlimits", "--no-proc-title"},
                            error)
            || !waitFor([&] {
                   avahi_.waitForReadyRead(50);
                   return avahi_.peek(1 << 16).contains("Server startup complete");
               }, 10000)) {
            *error += " (Avahi for the IPP Everywhere printer) " + QString::fromLocal8Bit(avahi_.readAll());
            return false;
        }
    }
    const quint16 port = freePort();
    if (!startHelper(everywhere_, "ippeveprinter",
                     {"-n", "localhost", "-p", QString::number(port), "-d",
                      dir_.filePath("everywhere"), "-k", "-c", "/bin/true", "-P", ppd,
                      "Trelvane Everywhere"},
                     error)
        || !waitFor([&] {
               QTcpSocket probe;
               probe.connectToHost(QHostAddress::LocalHost, port);
               return probe.waitForConnected(100);
           }, 10000)) {
        *error += " (ippeveprinter) " + QString::fromLocal8Bit(everywhere_.readAll());
        return false;
    }
    everywhereUri_ = QString("ipp://localhost:%1/ipp/print").arg(port);
    return run("lpadmin", {"-p", name, "-E", "-v", everywhereUri_, "-m", "everywhere"}, error);
}

void PrivateCupsServer::stop()
{
    for (QProcess *process : {&everywhere_, &avahi_, &dbus_, &cupsd_}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(15000)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

void PrivateCupsServer::freeze() { ::kill(pid_t(cupsd_.processId()), SIGSTOP); }

void PrivateCupsServer::thaw() { ::kill(pid_t(cupsd_.processId()), SIGCONT); }

bool PrivateCupsServer::isRunning() const { return cupsd_.state() == QProcess::Running; }

QStringList PrivateCupsServer::capturedJobs(const QString &queue) const
{
    QDir jobs(dir_.filePath(queue == "capture" ? QString("jobs") : "jobs-" + queue));
    QStringList paths;
    QFileInfoList files = jobs.entryInfoList({"job-*"}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.baseName().mid(4).toInt() < b.baseName().mid(4).toInt();
    });
    for (const QFileInfo &file : files)
        paths << file.filePath();
    return paths;
}

QStringList PrivateCupsServer::everywhereJobs() const
{
    QStringList paths;
    QFileInfoList files = QDir(dir_.filePath("everywhere")).entryInfoList({"*.pdf"}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.baseName().section('-', 0, 0).toInt() < b.baseName().section('-', 0, 0).toInt();
    });
    for (const QFileInfo &file : files)
        paths << file.filePath();
    return paths;
}

QStringList PrivateCupsServer::jobsKnownToServer() const
{
    QProcess lpstat;
    lpstat.start(toolPath("lpstat"), {"-W", "all", "-o"});
    lpstat.waitForFinished(20000);
    QStringList ids;
    for (const QString &line : QString::fromLocal8Bit(lpstat.readAllStandardOutput()).split('\n'))
        if (!line.trimmed().isEmpty())
            ids << line.section(' ', 0, 0);
    return ids;
}

QString PrivateCupsServer::log() const
{
    QFile file(dir_.filePath("log/error_log"));
    if (!file.open(QIODevice::ReadOnly))
        return "(no server log)";
    const QByteArray all = file.readAll();
    return QString::fromLocal8Bit(all.right(4000));
}

} // namespace trelvane::test
