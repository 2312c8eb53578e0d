// libcups, loaded when the first report goes to a printer instead of when the program
// starts: it brings some twenty libraries (TLS, Kerberos, service discovery) with it,
// which a session that never prints does not need to load.
#pragma once

#include <cups/cups.h>

namespace trelvane {

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

// Loads the library on the first call and keeps it for the rest of the run. Throws
// PrintFailure (PrintingSystemMissing) when it is not installed or lacks a function.
const CupsLibrary &cupsLibrary();

} // namespace trelvane
