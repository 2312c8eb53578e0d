#include "report/cups_printer.h"

#include <cups/cups.h>
#include <dlfcn.h>

namespace trelvane {
namespace {

// The libcups functions the print queue uses, under their own names.
struct CupsLibrary {
    decltype(&::httpConnect2) httpConnect2;
    decltype(&::httpClose) httpClose;
    decltype(&::cupsServer) cupsServer;
    decltype(&::ippPort) ippPort;
    decltype(&::cupsEncryption) cupsEncryption;
    decltype(&::cupsLastError) cupsLastError;
    decltype(&::cupsLastErrorString) cupsLastErrorString;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest;
    decltype(&::cupsFreeDests) cupsFreeDests;
    decltype(&::cupsCreateJob) cupsCreateJob;
    decltype(&::cupsStartDocument) cupsStartDocument;
    decltype(&::cupsWriteRequestData) cupsWriteRequestData;
    decltype(&::cupsFinishDocument) cupsFinishDocument;
    decltype(&::cupsCancelJob2) cupsCancelJob2;
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
    resolve(handle, "httpConnect2", cups.httpConnect2);
    resolve(handle, "httpClose", cups.httpClose);
    resolve(handle, "cupsServer", cups.cupsServer);
    resolve(handle, "ippPort", cups.ippPort);
    resolve(handle, "cupsEncryption", cups.cupsEncryption);
    resolve(handle, "cupsLastError", cups.cupsLastError);
    resolve(handle, "cupsLastErrorString", cups.cupsLastErrorString);
    resolve(handle, "cupsGetNamedDest", cups.cupsGetNamedDest);
    resolve(handle, "cupsFreeDests", cups.cupsFreeDests);
    resolve(handle, "cupsCreateJob", cups.cupsCreateJob);
    resolve(handle, "cupsStartDocument", cups.cupsStartDocument);
    resolve(handle, "cupsWriteRequestData", cups.cupsWriteRequestData);
    resolve(handle, "cupsFinishDocument", cups.cupsFinishDocument);
    resolve(handle, "cupsCancelJob2", cups.cupsCancelJob2);
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

QString lastCupsError() { return QString::fromUtf8(cupsLibrary().cupsLastErrorString()); }

// The server's refusals and a lost connection call for different advice.
PrintFailureKind kindOfLastError()
{
    const ipp_status_t status = cupsLibrary().cupsLastError();
    return status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ? PrintFailureKind::ServerUnreachable
                                                          : PrintFailureKind::JobRefused;
}

QString serverName() { return QString::fromUtf8(cupsLibrary().cupsServer()); }

} // namespace

void CupsDefaultQueue::HttpClose::operator()(http_t *http) const
{
    cupsLibrary().httpClose(http);
}

CupsDefaultQueue::CupsDefaultQueue()
{
    const CupsLibrary &cups = cupsLibrary();
    // Ten seconds: long enough for a remote server, short enough for a frozen window.
    http_.reset(cups.httpConnect2(cups.cupsServer(), cups.ippPort(), nullptr, AF_UNSPEC,
                                  cups.cupsEncryption(), 1, 10000, nullptr));
    // libcups's own words for a failed connection are unreliable here ("Host is down"
    // for a local socket nobody listens on), so the message names the server alone.
    if (!http_)
        throw PrintFailure(PrintFailureKind::ServerUnreachable, serverName(), QString());

    cups_dest_t *dest = cups.cupsGetNamedDest(http_.get(), nullptr, nullptr);
    if (!dest) {
        const ipp_status_t status = cups.cupsLastError();
        if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            throw PrintFailure(PrintFailureKind::ServerUnreachable, serverName(), lastCupsError());
        // An unset default leaves no message; a default that names a missing queue has one.
        throw PrintFailure(PrintFailureKind::NoDefaultPrinter, serverName(),
                           status > IPP_STATUS_OK_CONFLICTING ? lastCupsError() : QString());
    }
    name_ = QString::fromUtf8(dest->name);
    cups.cupsFreeDests(1, dest);
}

CupsDefaultQueue::~CupsDefaultQueue() = default;

void CupsDefaultQueue::submitPdf(const QByteArray &pdf, const QString &title)
{
    const CupsLibrary &cups = cupsLibrary();
    const QByteArray queue = name_.toUtf8();
    const QByteArray jobTitle = title.toUtf8();

    const int job =
        cups.cupsCreateJob(http_.get(), queue.constData(), jobTitle.constData(), 0, nullptr);
    if (job == 0)
        throw PrintFailure(kindOfLastError(), name_, lastCupsError());

    const auto fail = [&]() {
        const PrintFailure failure(kindOfLastError(), name_, lastCupsError());
        // Leave no half-sent job behind in the queue.
        cups.cupsCancelJob2(http_.get(), queue.constData(), job, 0);
        throw failure;
    };
    if (cups.cupsStartDocument(http_.get(), queue.constData(), job, jobTitle.constData(),
                               CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE)
        fail();
    if (cups.cupsWriteRequestData(http_.get(), pdf.constData(),
                                  static_cast<size_t>(pdf.size())) != HTTP_STATUS_CONTINUE)
        fail();
    if (cups.cupsFinishDocument(http_.get(), queue.constData()) > IPP_STATUS_OK_CONFLICTING)
        fail();
}

} // namespace trelvane
