#include "report/spooler_state.h"

namespace trelvane {

SpoolerReading readSpoolerState(std::uint32_t status, std::uint32_t attributes)
{
    struct Condition {
        std::uint32_t status;
        std::uint32_t attributes;
        const char *words;
    };
    static constexpr Condition kConditions[] = {
        {spooler::kServerOffline, 0, "is on a print server that is offline"},
        // Windows marks a printer it cannot reach "use offline" as well as its user can.
        {spooler::kOffline, spooler::kWorkOffline, "is offline"},
        {spooler::kNotAvailable, 0, "is not available"},
        {spooler::kPendingDeletion, 0, "is being removed"},
        {spooler::kPaperJam, 0, "has a paper jam"},
        {spooler::kPaperOut, 0, "is out of paper"},
        {spooler::kPaperProblem, 0, "has a problem with its paper"},
        {spooler::kDoorOpen, 0, "has a door open"},
        {spooler::kNoToner, 0, "is out of toner or ink"},
        {spooler::kOutputBinFull, 0, "has its output tray full"},
        {spooler::kOutOfMemory, 0, "is out of memory"},
        {spooler::kUserIntervention, 0, "needs someone to see to it"},
        {spooler::kError, 0, "reports an error"},
    };
    SpoolerReading reading;
    reading.paused = (status & spooler::kPaused) != 0;
    for (const Condition &condition : kConditions) {
        if ((status & condition.status) || (attributes & condition.attributes)) {
            reading.attention = QString::fromLatin1(condition.words);
            break;
        }
    }
    return reading;
}

} // namespace trelvane
