// How the results window hands its Print button to the printing code, which lives
// outside the windows library.
#pragma once

#include <functional>

namespace trelvane {
class frmAnswers;
using PrintSequence = std::function<void(frmAnswers &)>;
}  // namespace trelvane
