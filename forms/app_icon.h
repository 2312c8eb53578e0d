// The program's icon, shared by all its windows.
#pragma once

#include <QIcon>

namespace trelvane {

// A little boxcar, drawn in code so there is no image file to keep in step.
QIcon trelvaneIcon();

} // namespace trelvane
