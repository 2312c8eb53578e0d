#include "forms/modal_guard.h"

#include <QApplication>
#include <QWidget>

namespace trelvane {

bool blockedByModalWindow(const QWidget &control)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return modal && modal != control.window();
}

} // namespace trelvane
