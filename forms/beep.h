// The system beep behind a replaceable function, so tests can count the beeps.
#pragma once

#include <functional>

namespace trelvane {

void systemBeep();

// Replaces what systemBeep does; an empty function restores the system's beep.
void setBeepHandler(std::function<void()> handler);

} // namespace trelvane
