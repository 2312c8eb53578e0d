// What the user is told when a report did not go out: what went wrong and what to do.
#pragma once

#include "report/print_failure.h"

#include <QString>

namespace trelvane {

QString printFailureText(const PrintFailure &failure);

} // namespace trelvane
