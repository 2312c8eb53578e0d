// What a printer's state in the Windows print spooler means for a report about to be sent
// to it: the Status and Attributes bits that GetPrinter reports, read as whether the
// report waits in the queue and what, if anything, keeps the printer from printing it.
#pragma once

#include <QString>

#include <cstdint>

namespace trelvane {

// The bits that matter here, with the spooler's values (PRINTER_STATUS_..., PRINTER_ATTRIBUTE_...).
namespace spooler {
inline constexpr std::uint32_t kPaused = 0x1;
inline constexpr std::uint32_t kError = 0x2;
inline constexpr std::uint32_t kPendingDeletion = 0x4;
inline constexpr std::uint32_t kPaperJam = 0x8;
inline constexpr std::uint32_t kPaperOut = 0x10;
inline constexpr std::uint32_t kPaperProblem = 0x40;
inline constexpr std::uint32_t kOffline = 0x80;
inline constexpr std::uint32_t kOutputBinFull = 0x800;
inline constexpr std::uint32_t kNotAvailable = 0x1000;
inline constexpr std::uint32_t kNoToner = 0x40000;
inline constexpr std::uint32_t kUserIntervention = 0x100000;
inline constexpr std::uint32_t kOutOfMemory = 0x200000;
inline constexpr std::uint32_t kDoorOpen = 0x400000;
inline constexpr std::uint32_t kServerOffline = 0x2000000;
// An attribute: the printer is set to be used offline.
inline constexpr std::uint32_t kWorkOffline = 0x400;
} // namespace spooler

struct SpoolerReading {
    bool paused = false; // jobs wait in the queue until the printer is resumed
    QString attention;   // why it cannot print now, as "is out of paper"; empty when it can
};

// The first thing that keeps the printer from printing wins, in the order a user sees to
// them: being reachable, then its paper, door and toner, then anything else it reports. A
// printer that is paused as well is told by what keeps it from printing once resumed.
SpoolerReading readSpoolerState(std::uint32_t status, std::uint32_t attributes);

} // namespace trelvane
