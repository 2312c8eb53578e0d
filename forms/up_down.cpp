#include "forms/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace trelvane {

UpDown::UpDown(QWidget *parent)
    : QSpinBox(parent)
{
    setRange(0, 9999);
    setSingleStep(1);
    setWrapping(false);
    setFocusPolicy(Qt::StrongFocus);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // The count label shows the value; an editor here would let typing bypass the bounds.
    lineEdit()->setReadOnly(true);
    lineEdit()->hide();
}

void UpDown::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QSpinBox::keyPressEvent(event);
        return;
    default:
        event->ignore();
    }
}

void UpDown::wheelEvent(QWheelEvent *event)
{
    // The wheel counts only when the user has chosen this counter.
    if (hasFocus())
        QSpinBox::wheelEvent(event);
    else
        event->ignore();
}

void UpDown::resizeEvent(QResizeEvent *event)
{
    QSpinBox::resizeEvent(event);
    lineEdit()->setGeometry(QRect());
}

} // namespace trelvane
