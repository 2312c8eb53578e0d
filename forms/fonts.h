// The fonts that the window designs name.
#pragma once

#include <QFont>
#include <QWidget>

namespace trelvane {

// Arial 8.25 pt: every window's own font.
QFont windowFont();

// Arial 9.75 pt bold: the command buttons.
QFont buttonFont();

// Gives a window its font before its controls are made, as the window's first member, so
// that none is first measured in the desktop's font: that would load a second font
// family only to lay the controls out again.
class WindowFontFirst {
public:
    explicit WindowFontFirst(QWidget *window) { window->setFont(windowFont()); }
};

} // namespace trelvane
