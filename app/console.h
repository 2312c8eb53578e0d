// Where the program's answers to --version and --help go: the terminal it was started
// from, or on Windows, when it was started from none, a message box.
#pragma once

#include <string>

namespace trelvane {

enum class Answer { Information, Error };

void tellOnConsole(const std::string &text, Answer kind);

} // namespace trelvane
