// Whether a window's handlers may act: not while another modal window stands in front.
#pragma once

class QWidget;

namespace trelvane {

// True while a modal window other than the one holding `control` is open in front of it.
// The keyboard and the mouse cannot reach such a window, but an assistive tool's "press"
// or "check" action can; the handlers ask this first, so they never open a second
// window or change the analysis that the open window shows.
bool blockedByModalWindow(const QWidget &control);

} // namespace trelvane
