// How large the program's windows are drawn. Their designs are in twips and points for a
// desktop font of 9 pt; the windows grow with the desktop's font size and with this run's
// zoom (Ctrl+Plus, Ctrl+Minus and Ctrl+0 in any window), all together, but no larger than
// the screen can show whole.
#pragma once

#include <QFont>
#include <QString>

#include <optional>

class QKeyEvent;
class QWidget;

namespace trelvane {

// A place in a window's design: left, top, width and height in twips (1440 to the inch;
// 15 make a pixel at the design's size), relative to the control's container.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Arial 8.25 pt at the scale: every window's own font.
QFont windowFont(double scale);

// Arial 9.75 pt bold at the scale: the command buttons.
QFont buttonFont(double scale);

// A window's design: its client area in twips and whether the user can resize it. Made as
// the window's first member, it gives the window its font and size before the controls
// are made, so none is first measured in the desktop's font and then laid out again.
class WindowDesign {
public:
    enum class Border { Fixed, Sizable };
    WindowDesign(QWidget *window, int width, int height, Border border);
};

// Names a control and puts it where its window's design has it, at the window's scale. A
// command button takes the button font; a label whose text wraps is at least as high as
// its text; an option button's circle grows with the window.
void place(QWidget *control, const QString &name, const Twips &design);

template <class Control>
Control *placed(Control *control, const QString &name, const Twips &design)
{
    place(control, name, design);
    return control;
}

// The zoom keys: Ctrl with Plus (or the = it shares a key with), Minus, or 0, on the main
// keyboard or the keypad. The step in percent: +25, -25, or 0 for back to the start.
std::optional<int> zoomStep(const QKeyEvent &key);

// Leaves the zoom keys to the window, which zooms what it shows rather than the program's
// windows.
void zoomsItself(QWidget *window);

// Makes the windows follow the desktop's font when it changes, gives every window the zoom
// keys, and shows each window, message boxes and the help included, at the current zoom.
// Installed once for the whole application; later calls do nothing.
void installWindowScaling();

} // namespace trelvane
