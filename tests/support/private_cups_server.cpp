#include "private_cups_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace trelvane::test {
namespace {

const char *const kSystemServerBin = "/usr/lib/cups";

// Copies each job to <folder>/job-<id>.pdf; renamed into place only once complete, so a
// file that exists is a whole job.
const char *const kCaptureBackend = R"(#!/bin/sh
if [ $# -eq 0 ]; then
    echo 'direct capture "Unknown" "Trelvane test capture"'
    exit 0
fi
folder=${DEVICE_URI#capture:}
part="$folder/.job-$1.part"
if [ $# -ge 6 ]; then cat "$6" > "$part" || exit 1; else cat > "$part" || exit 1; fi
mv "$part" "$folder/job-$1.pdf"
)";

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
    const QDir root(dir_.path());
    for (const char *sub : {"etc/ppd", "etc/ssl", "spool/tmp", "cache", "state", "log", "jobs",
                            "home", "bin/backend"}) {
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

bool PrivateCupsServer::addCaptureQueue(QString *error)
{
    return run("lpadmin", {"-p", "capture", "-E", "-v", "capture:" + dir_.filePath("jobs")},
               error)
           && run("lpadmin", {"-d", "capture"}, error);
}

void PrivateCupsServer::stop()
{
    if (cupsd_.state() == QProcess::NotRunning)
        return;
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(15000)) {
        cupsd_.kill();
        cupsd_.waitForFinished(5000);
    }
}

bool PrivateCupsServer::isRunning() const { return cupsd_.state() == QProcess::Running; }

QStringList PrivateCupsServer::capturedJobs() const
{
    QDir jobs(dir_.filePath("jobs"));
    QStringList paths;
    QFileInfoList files = jobs.entryInfoList({"job-*.pdf"}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.baseName().mid(4).toInt() < b.baseName().mid(4).toInt();
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
