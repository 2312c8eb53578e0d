// What must hold between any two user events, whatever the user did: the track boxes,
// the committed footages, the counters and their labels, the scale, and which windows
// are open. Used by the random-event test after every event.
#pragma once

#include "analysis/session_state.h"

#include <QString>

#include <optional>

namespace trelvane {
class frmInput;
}

namespace trelvane::test {

// The first broken rule, in words, or nothing when all hold.
std::optional<QString> brokenInvariant(const frmInput &input, const stdGeneral &session);

} // namespace trelvane::test
