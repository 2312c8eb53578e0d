// The program's icon, shared by all its windows.
#pragma once

#include <QIcon>

namespace trelvane {

// A little boxcar, the same picture as the desktop icon.
QIcon trelvaneIcon();

} // namespace trelvane
