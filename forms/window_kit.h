// What every window of the program is made with: its icon, the makers of its frames,
// labels and buttons, what screen readers are told of them, the system beep, and the rule
// that keeps a window's handlers still while a modal window stands in front of it.
#pragma once

#include "forms/window_scale.h"

#include <QColor>
#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QStyle>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace trelvane {

// A little boxcar, the same picture as the desktop icon, on every window.
QIcon trelvaneIcon();

// The window that owns the program's other windows: the outermost of `window`'s family.
QWidget *outermostWindow(const QWidget *window);

enum class Wrap { No, AtWords };

QGroupBox *makeFrame(const QString &name, const QString &title, const Twips &design,
                     QWidget *parent);
QLabel *makeLabel(const QString &name, const QString &caption, const Twips &design,
                  QWidget *parent, Wrap wrap = Wrap::No);
// In the bold button font, with its tooltip.
QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const Twips &design, QWidget *parent);

// One style of the kind for every control that uses it. The application owns it: it
// outlives every window.
template <class Style>
QStyle *sharedStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new Style();
        style->setParent(qApp);
    }
    return style;
}

// Installs one filter of the kind on the application, where it sees every window's events
// before the window does, so no window needs a copy of its own; later calls do nothing.
template <class Filter>
void installApplicationFilter()
{
    static QPointer<Filter> installed;
    if (installed)
        return;
    installed = new Filter(qApp);
    qApp->installEventFilter(installed);
}

// Tells screen readers what the windows are: a top-level window reads as a frame, a label
// as its own text (a blank one as blank, never as its frame's title), and a notice as a
// notification. Installed once for the whole application; later calls do nothing.
void installAccessibility();

// Marks a label that appears to tell the user something, such as a warning: screen readers
// announce it when it shows.
void markAsNotice(QLabel *label);

// WCAG's contrast ratio of two colours, from 1:1 to 21:1.
double contrastRatio(const QColor &a, const QColor &b);

// The warning's own colours on a window of this colour scheme: red on light grey in a light
// scheme, light red on dark red in a dark one, the red made darker or lighter until it
// stands out from its background by 4.5 to 1, as WCAG asks of text this size.
QPalette warningColours(const QPalette &scheme);

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
