// What the results window's Print button does: ask for the railroad's name, print the
// report, and only once it has been handed over show the printing message.
#pragma once

#include "analysis/session_state.h"
#include "forms/print_sequence_hook.h"
#include "report/report_routes.h"

namespace trelvane {

// The sequence for frmAnswers. It writes the session's name and confirmation through
// the prompt, so it holds the session itself rather than the window's read-only view.
PrintSequence makePrintSequence(stdGeneral &session, PrintRoutes routes = {});

} // namespace trelvane
