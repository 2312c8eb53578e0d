// What every window of the program is made with: its measures in twips, its fonts and
// icon, the makers of its frames, labels and buttons, what screen readers are told of them,
// the system beep, and the rule that keeps a window's handlers still while a modal window
// stands in front of it.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace trelvane {

// 15 twips make one pixel at 96 dpi; Qt's device-pixel ratio scales the rest.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

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

// A little boxcar, the same picture as the desktop icon, on every window.
QIcon trelvaneIcon();

// Names a control just made and puts it where the window's design has it.
template <class Control>
Control *placed(Control *control, const QString &name, const QRect &geometry)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

QGroupBox *makeFrame(const QString &name, const QString &title, const QRect &geometry,
                     QWidget *parent);
QLabel *makeLabel(const QString &name, const QString &caption, const QRect &geometry,
                  QWidget *parent);
// In the bold button font, with its tooltip.
QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const QRect &geometry, QWidget *parent);

// Tells screen readers what the windows are: a top-level window reads as a frame, a label
// as its own text (a blank one as blank, never as its frame's title), and a notice as a
// notification. Installed once for the whole application; later calls do nothing.
void installAccessibility();

// Marks a label that appears to tell the user something, such as a warning: screen readers
// announce it when it shows.
void markAsNotice(QLabel *label);

void systemBeep();

// Replaces what systemBeep does, so tests can count the beeps that the offscreen platform
// cannot sound; an empty function restores the system's beep.
void setBeepHandler(std::function<void()> handler);

// True while a modal window other than the one holding `control` is open in front of it.
// The keyboard and the mouse cannot reach such a window, but an assistive tool's "press"
// or "check" action can; the handlers ask this first, so they never open a second
// window or change the analysis that the open window shows.
bool blockedByModalWindow(const QWidget &control);

} // namespace trelvane
