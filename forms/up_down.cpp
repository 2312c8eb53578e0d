#include "forms/up_down.h"

#include "forms/window_kit.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyleOptionComplex>

#include <algorithm>

namespace trelvane {

namespace {

// The arrows take the whole control, one half each, as an up-down control's do; the
// toolkit's spin box would squeeze them beside an edit field this control has none of.
class UpDownStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl part, const QWidget *widget) const override
    {
        if (control != CC_SpinBox)
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QRect whole = option->rect;
        const int upperHeight = whole.height() / 2;
        switch (part) {
        case SC_SpinBoxUp:
            return QRect(whole.left(), whole.top(), whole.width(), upperHeight);
        case SC_SpinBoxDown:
            return QRect(whole.left(), whole.top() + upperHeight, whole.width(),
                         whole.height() - upperHeight);
        case SC_SpinBoxEditField:
            return QRect();
        default:
            return whole;
        }
    }
};

} // namespace

UpDown::UpDown(QWidget *parent)
    : QSpinBox(parent)
{
    setRange(0, 9999);
    setSingleStep(1);
    setWrapping(false);
    setFocusPolicy(Qt::StrongFocus);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setStyle(sharedStyle<UpDownStyle>());
    // The count label shows the value; typed digits are taken here, within the bounds,
    // rather than by an editor.
    lineEdit()->setReadOnly(true);
    lineEdit()->hide();
    m_settling.setSingleShot(true);
    m_settling.setInterval(QApplication::keyboardInputInterval());
    connect(&m_settling, &QTimer::timeout, this, &UpDown::announceValue);
}

// The spin box selects its hidden text on focus and on every step, and keeps it selected
// as the value changes, which screen readers speak as "selected" and "unselected".
void UpDown::focusInEvent(QFocusEvent *event)
{
    QSpinBox::focusInEvent(event);
    lineEdit()->deselect();
}

void UpDown::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    lineEdit()->deselect();
}

void UpDown::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool digit = text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9'
                       && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (digit) {
        // Digits typed in quick succession build one number; after a pause a new one begins.
        const bool continuing = m_sinceDigit.isValid()
                                && m_sinceDigit.elapsed() <= QApplication::keyboardInputInterval();
        const int typed = (continuing ? value() * 10 : 0) + text.at(0).digitValue();
        setValue(std::min(typed, maximum()));
        m_sinceDigit.start();
        m_settling.start();
        event->accept();
        return;
    }
    m_sinceDigit.invalidate();
    if (m_settling.isActive()) {
        m_settling.stop();
        announceValue();
    }
    switch (event->key()) {
    case Qt::Key_Home:
        setValue(minimum());
        announceValue();
        event->accept();
        return;
    case Qt::Key_End:
        setValue(maximum());
        announceValue();
        event->accept();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QSpinBox::keyPressEvent(event);
        announceValue();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        QSpinBox::keyPressEvent(event);
        return;
    default:
        event->ignore();
    }
}

// Screen readers speak the value of the focused counter when told it changed. The spin box
// tells them only of its hidden text, which they read for the single steps alone, and
// digit by digit while a number is typed.
void UpDown::announceValue()
{
    QAccessibleValueChangeEvent changed(this, value());
    QAccessible::updateAccessibility(&changed);
}

void UpDown::resizeEvent(QResizeEvent *event)
{
    QSpinBox::resizeEvent(event);
    lineEdit()->setGeometry(QRect());
}

} // namespace trelvane
