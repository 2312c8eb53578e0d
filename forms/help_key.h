// F1 opens the help from every window of the program, dialogs and message boxes included.
#pragma once

namespace trelvane {

// Installs the help key once for the whole application; later calls do nothing.
void installHelpKey();

} // namespace trelvane
