// The help text: what to enter, how to read the results and how to print, in plain words.
#pragma once

#include <QString>

namespace trelvane {

// Rich text for the help window, with one anchor per section.
QString helpText();

} // namespace trelvane
