#include "report/cups_library.h"

#include "report/print_failure.h"

#include <dlfcn.h>

#include <QString>

namespace trelvane {
namespace {

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

} // namespace

const CupsLibrary &cupsLibrary()
{
    // A failed load throws out of the initialiser, so the next print tries again.
    static const CupsLibrary cups = load();
    return cups;
}

} // namespace trelvane
