// The program's start: opens the input window for one session.
#pragma once

#include "analysis/session_state.h"
#include "forms/print_sequence_hook.h"

namespace trelvane {
// Shows the input window modeless; it deletes itself when closed.
void Main(stdGeneral &session, PrintSequence printSequence = {});
}  // namespace trelvane
