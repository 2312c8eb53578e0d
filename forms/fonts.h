// The fonts that the window designs name.
#pragma once

#include <QFont>

namespace trelvane {

// Arial 8.25 pt: every window's own font.
QFont windowFont();

// Arial 9.75 pt bold: the command buttons.
QFont buttonFont();

} // namespace trelvane
