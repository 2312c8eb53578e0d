#include "report/print_system.h"

#include "report/pdf_page_layer.h"
#include "report/print_failure.h"

#include <QSizeF>

#include <cups/cups.h>
#include <dlfcn.h>
#include <langinfo.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace trelvane {
namespace {

// The libcups functions the print server's conversation uses, under their own names.
struct CupsLibrary {
    decltype(&::httpConnect2) httpConnect2;
    decltype(&::httpClose) httpClose;
    decltype(&::httpSetTimeout) httpSetTimeout;
    decltype(&::httpError) httpError;
    decltype(&::httpAssembleURIf) httpAssembleURIf;
    decltype(&::cupsServer) cupsServer;
    decltype(&::ippPort) ippPort;
    decltype(&::cupsEncryption) cupsEncryption;
    decltype(&::cupsUser) cupsUser;
    decltype(&::cupsLastError) cupsLastError;
    decltype(&::cupsLastErrorString) cupsLastErrorString;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest;
    decltype(&::cupsFreeDests) cupsFreeDests;
    decltype(&::cupsDoRequest) cupsDoRequest;
    decltype(&::cupsStartDocument) cupsStartDocument;
    decltype(&::cupsWriteRequestData) cupsWriteRequestData;
    decltype(&::cupsFinishDocument) cupsFinishDocument;
    decltype(&::cupsCancelJob2) cupsCancelJob2;
    decltype(&::ippNewRequest) ippNewRequest;
    decltype(&::ippAddString) ippAddString;
    decltype(&::ippAddStrings) ippAddStrings;
    decltype(&::ippDelete) ippDelete;
    decltype(&::ippFindAttribute) ippFindAttribute;
    decltype(&::ippFirstAttribute) ippFirstAttribute;
    decltype(&::ippNextAttribute) ippNextAttribute;
    decltype(&::ippGetName) ippGetName;
    decltype(&::ippGetGroupTag) ippGetGroupTag;
    decltype(&::ippGetString) ippGetString;
    decltype(&::ippGetInteger) ippGetInteger;
    decltype(&::pwgMediaForPWG) pwgMediaForPWG;
};

// The soname of the CUPS 2 client library, whose interface these functions belong to.
constexpr const char *kCupsSoname = "libcups.so.2";

[[noreturn]] void missing(const char *what)
{
    throw PrintFailure(PrintFailureKind::PrintingSystemMissing, QString::fromUtf8(kCupsSoname),
                       QString::fromLocal8Bit(what));
}

template <class Function>
void resolve(void *handle, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    if (!function)
        missing(dlerror());
}

CupsLibrary load()
{
    void *handle = dlopen(kCupsSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        missing(dlerror());
    CupsLibrary cups{};
#define TRELVANE_RESOLVE(function) resolve(handle, #function, cups.function)
    TRELVANE_RESOLVE(httpConnect2);
    TRELVANE_RESOLVE(httpClose);
    TRELVANE_RESOLVE(httpSetTimeout);
    TRELVANE_RESOLVE(httpError);
    TRELVANE_RESOLVE(httpAssembleURIf);
    TRELVANE_RESOLVE(cupsServer);
    TRELVANE_RESOLVE(ippPort);
    TRELVANE_RESOLVE(cupsEncryption);
    TRELVANE_RESOLVE(cupsUser);
    TRELVANE_RESOLVE(cupsLastError);
    TRELVANE_RESOLVE(cupsLastErrorString);
    TRELVANE_RESOLVE(cupsGetNamedDest);
    TRELVANE_RESOLVE(cupsFreeDests);
    TRELVANE_RESOLVE(cupsDoRequest);
    TRELVANE_RESOLVE(cupsStartDocument);
    TRELVANE_RESOLVE(cupsWriteRequestData);
    TRELVANE_RESOLVE(cupsFinishDocument);
    TRELVANE_RESOLVE(cupsCancelJob2);
    TRELVANE_RESOLVE(ippNewRequest);
    TRELVANE_RESOLVE(ippAddString);
    TRELVANE_RESOLVE(ippAddStrings);
    TRELVANE_RESOLVE(ippDelete);
    TRELVANE_RESOLVE(ippFindAttribute);
    TRELVANE_RESOLVE(ippFirstAttribute);
    TRELVANE_RESOLVE(ippNextAttribute);
    TRELVANE_RESOLVE(ippGetName);
    TRELVANE_RESOLVE(ippGetGroupTag);
    TRELVANE_RESOLVE(ippGetString);
    TRELVANE_RESOLVE(ippGetInteger);
    TRELVANE_RESOLVE(pwgMediaForPWG);
#undef TRELVANE_RESOLVE
    // Never closed: the library keeps its own state (server, last error) between jobs.
    return cups;
}

// Loads the library on the first call and keeps it for the rest of the run. Throws
// PrintFailure (PrintingSystemMissing) when it is not installed or lacks a function.
const CupsLibrary &cupsLibrary()
{
    // A failed load throws out of the initialiser, so the next print tries again.
    static const CupsLibrary cups = load();
    return cups;
}

// What a queue is asked about, whether looked up alone or among all.
const char *const kQueueAttributes[] = {"printer-name",  "printer-info",          "printer-state",
                                        "printer-state-message", "media-default"};

// The paper a PWG media name stands for ("iso_a4_210x297mm"), if libcups knows it.
std::optional<QPageSize> paperNamed(const char *media)
{
    const pwg_media_t *size = media ? cupsLibrary().pwgMediaForPWG(media) : nullptr;
    if (!size || size->width <= 0 || size->length <= 0)
        return std::nullopt;
    // Hundredths of a millimetre; the fuzzy match names A4 or Letter as such.
    return QPageSize(QSizeF(size->width / 100.0, size->length / 100.0), QPageSize::Millimeter,
                     QString(), QPageSize::FuzzyMatch);
}

// The queues of an answer, one printer group each.
QList<PrintQueue> queuesIn(ipp_t *answer)
{
    const CupsLibrary &cups = cupsLibrary();
    QList<PrintQueue> queues;
    PrintQueue queue;
    const auto finish = [&] {
        if (!queue.name.isEmpty()) {
            if (queue.description.isEmpty())
                queue.description = queue.name;
            queues << queue;
        }
        queue = PrintQueue{};
    };
    for (ipp_attribute_t *attribute = cups.ippFirstAttribute(answer); attribute;
         attribute = cups.ippNextAttribute(answer)) {
        const char *name = cups.ippGetName(attribute);
        if (cups.ippGetGroupTag(attribute) != IPP_TAG_PRINTER || !name) {
            finish(); // a separator between printers, or the operation's own attributes
            continue;
        }
        const QByteArray key(name);
        const auto text = [&] { return QString::fromUtf8(cups.ippGetString(attribute, 0, nullptr)); };
        if (key == "printer-name")
            queue.name = text();
        else if (key == "printer-info")
            queue.description = text();
        else if (key == "printer-state")
            queue.paused = cups.ippGetInteger(attribute, 0) == IPP_PSTATE_STOPPED;
        else if (key == "printer-state-message")
            queue.stateMessage = text();
        else if (key == "media-default")
            queue.paper = paperNamed(cups.ippGetString(attribute, 0, nullptr));
    }
    finish();
    return queues;
}

} // namespace

struct PrintServer::Connection {
    http_t *http = nullptr;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + kPatience;
    bool expired = false; // a request was given up at the deadline

    ~Connection()
    {
        if (http)
            cupsLibrary().httpClose(http);
    }

    static QString serverName() { return QString::fromUtf8(cupsLibrary().cupsServer()); }

    // libcups asks this every quarter of a second while it waits for an answer.
    static int stillWaiting(http_t *, void *self)
    {
        auto *connection = static_cast<Connection *>(self);
        connection->expired = connection->expired
                              || std::chrono::steady_clock::now() >= connection->deadline;
        return connection->expired ? 0 : 1;
    }

    // A request begun after the deadline would still wait a second of libcups's own.
    void beforeRequest()
    {
        if (std::chrono::steady_clock::now() >= deadline)
            expired = true;
        if (expired)
            throw PrintFailure(PrintFailureKind::ServerNotAnswering, serverName(), QString());
    }

    // Why the last request failed, in the words of the server where it answered. Only the
    // deadline tells a silent server apart: libcups reports it as whatever it last heard.
    [[noreturn]] void fail(const QString &queue)
    {
        const CupsLibrary &cups = cupsLibrary();
        if (expired)
            throw PrintFailure(PrintFailureKind::ServerNotAnswering, serverName(), QString());
        const QString words = QString::fromUtf8(cups.cupsLastErrorString());
        const int lost = cups.httpError(http);
        const ipp_status_t status = cups.cupsLastError();
        if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || lost == EPIPE || lost == ECONNRESET
            || lost == ECONNREFUSED)
            throw PrintFailure(PrintFailureKind::ServerNotRunning, serverName(), QString());
        if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
            throw PrintFailure(PrintFailureKind::PrinterNotAccepting, queue, words);
        throw PrintFailure(PrintFailureKind::JobRefused, queue, words);
    }

    QByteArray printerUri(const QString &queue) const
    {
        char uri[HTTP_MAX_URI];
        cupsLibrary().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr,
                                       "localhost", cupsLibrary().ippPort(), "/printers/%s",
                                       queue.toUtf8().constData());
        return uri;
    }

    // A request of the operation, addressed to the queue when one is named.
    ipp_t *request(ipp_op_t operation, const QString &queue = QString()) const
    {
        const CupsLibrary &cups = cupsLibrary();
        ipp_t *request = cups.ippNewRequest(operation);
        if (!queue.isEmpty())
            cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                              printerUri(queue).constData());
        cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name",
                          nullptr, cups.cupsUser());
        return request;
    }

    // The queue as it stands now.
    PrintQueue queueNamed(const QString &name)
    {
        const CupsLibrary &cups = cupsLibrary();
        beforeRequest();
        ipp_t *ask = request(IPP_OP_GET_PRINTER_ATTRIBUTES, name);
        cups.ippAddStrings(ask, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                           int(std::size(kQueueAttributes)), nullptr, kQueueAttributes);
        ipp_t *answer = cups.cupsDoRequest(http, ask, "/");
        if (!answer || cups.cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
            cups.ippDelete(answer);
            fail(name);
        }
        QList<PrintQueue> found = queuesIn(answer);
        cups.ippDelete(answer);
        if (found.isEmpty())
            fail(name);
        return found.constFirst();
    }
};

PrintServer::PrintServer()
    : connection_(std::make_unique<Connection>())
{
    const CupsLibrary &cups = cupsLibrary();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        connection_->deadline - std::chrono::steady_clock::now());
    connection_->http = cups.httpConnect2(cups.cupsServer(), cups.ippPort(), nullptr, AF_UNSPEC,
                                          cups.cupsEncryption(), 1,
                                          int(std::max<long long>(left.count(), 1)), nullptr);
    // libcups's own words for a failed connection are unreliable here ("Host is down" for
    // a local socket nobody listens on), so the message names the server alone.
    if (!connection_->http)
        throw PrintFailure(PrintFailureKind::ServerNotRunning, Connection::serverName(),
                           QString());
    // A frozen server takes the connection and then never answers; without this, libcups
    // would wait a minute for each request.
    cups.httpSetTimeout(connection_->http, 0.25, &Connection::stillWaiting, connection_.get());
}

PrintServer::~PrintServer() = default;

std::optional<PrintQueue> PrintServer::defaultQueue()
{
    const CupsLibrary &cups = cupsLibrary();
    connection_->beforeRequest();
    // Asked without a name, libcups looks in the user's settings and then asks the server;
    // with a name it would fall back to a connection of its own, without the deadline.
    cups_dest_t *dest = cups.cupsGetNamedDest(connection_->http, nullptr, nullptr);
    if (!dest) {
        // No default set, or one that names a queue no longer there: both are "not found".
        if (connection_->expired || cups.cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND)
            connection_->fail(QString());
        return std::nullopt;
    }
    const QString name = QString::fromUtf8(dest->name);
    cups.cupsFreeDests(1, dest);
    return connection_->queueNamed(name);
}

QList<PrintQueue> PrintServer::queues()
{
    const CupsLibrary &cups = cupsLibrary();
    connection_->beforeRequest();
    ipp_t *ask = connection_->request(IPP_OP_CUPS_GET_PRINTERS);
    cups.ippAddStrings(ask, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                       int(std::size(kQueueAttributes)), nullptr, kQueueAttributes);
    ipp_t *answer = cups.cupsDoRequest(connection_->http, ask, "/");
    const ipp_status_t status = cups.cupsLastError();
    if (!answer || status > IPP_STATUS_OK_CONFLICTING) {
        cups.ippDelete(answer);
        // A server without a single queue answers that it found none.
        if (status == IPP_STATUS_ERROR_NOT_FOUND && !connection_->expired)
            return {};
        connection_->fail(QString());
    }
    QList<PrintQueue> all = queuesIn(answer);
    cups.ippDelete(answer);
    return all;
}

PrintQueue PrintServer::queue(const QString &name)
{
    return connection_->queueNamed(name);
}

PrintQueue PrintServer::submit(const QString &queue, const PdfPageLayer &document)
{
    const CupsLibrary &cups = cupsLibrary();
    Connection &c = *connection_;
    const QByteArray name = queue.toUtf8();
    const QByteArray jobTitle = document.title().toUtf8();
    const QByteArray &pdf = document.pdf();

    // Create-Job is asked on this connection: cupsCreateJob would look the queue up on one
    // of libcups's own, where the deadline does not hold.
    c.beforeRequest();
    ipp_t *create = c.request(IPP_OP_CREATE_JOB, queue);
    cups.ippAddString(create, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                      jobTitle.constData());
    ipp_t *created = cups.cupsDoRequest(c.http, create, ("/printers/" + name).constData());
    ipp_attribute_t *id =
        created ? cups.ippFindAttribute(created, "job-id", IPP_TAG_INTEGER) : nullptr;
    const int job = id && cups.cupsLastError() <= IPP_STATUS_OK_CONFLICTING
                        ? cups.ippGetInteger(id, 0)
                        : 0;
    cups.ippDelete(created);
    if (job == 0)
        c.fail(queue);

    const auto failAndWithdraw = [&]() {
        try {
            c.fail(queue);
        } catch (const PrintFailure &) {
            // Leave no half-sent job behind in the queue, while the server still answers.
            if (!c.expired)
                cups.cupsCancelJob2(c.http, name.constData(), job, 0);
            throw;
        }
    };
    if (cups.cupsStartDocument(c.http, name.constData(), job, jobTitle.constData(),
                               CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE
        || cups.cupsWriteRequestData(c.http, pdf.constData(), static_cast<size_t>(pdf.size()))
               != HTTP_STATUS_CONTINUE
        || cups.cupsFinishDocument(c.http, name.constData()) > IPP_STATUS_OK_CONFLICTING)
        failAndWithdraw();

    // The job is queued whatever comes next; the queue's state only tells whether it waits.
    try {
        return c.queueNamed(queue);
    } catch (const PrintFailure &) {
        return PrintQueue{queue, queue, std::nullopt, false, QString(), QString()};
    }
}

PrintServiceWords printServiceWords(const QString &where)
{
    return {QStringLiteral("the print server (CUPS at %1)").arg(where),
            QStringLiteral("Start the printing service (on most systems: sudo systemctl start "
                           "cups)"),
            QStringLiteral("restart the printing service (on most systems: sudo systemctl "
                           "restart cups)"),
            QStringLiteral("Install the package libcups2")};
}

QPageSize localePaper()
{
#ifdef __GLIBC__
    // glibc gives the paper of LC_PAPER in millimetres, as integers behind a pointer.
    const auto millimetres = [](nl_item item) {
        return static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(item)));
    };
    const int width = millimetres(_NL_PAPER_WIDTH);
    const int height = millimetres(_NL_PAPER_HEIGHT);
    if (width > 0 && height > 0)
        return QPageSize(QSizeF(width, height), QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyMatch);
#endif
    return QPageSize(QPageSize::A4);
}

QString shortDate(const QDate &date)
{
    // The C library's format for the user's LC_TIME.
    std::tm day{};
    day.tm_year = date.year() - 1900;
    day.tm_mon = date.month() - 1;
    day.tm_mday = date.day();
    day.tm_wday = date.dayOfWeek() % 7;
    day.tm_yday = date.dayOfYear() - 1;
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%x", &day);
    return QString::fromLocal8Bit(text, qsizetype(length));
}

} // namespace trelvane
