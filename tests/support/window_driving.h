// Driving the windows as a user does: keys sent through the window system to the window
// that has the keyboard, counters set with the keys, and the beeps counted.
#pragma once

#include "forms/frm_input.h"
#include "forms/up_down.h"
#include "forms/window_kit.h"

#include <QApplication>
#include <QKeyCombination>
#include <QTest>
#include <QWindow>

namespace trelvane::test {

// The window that takes the keyboard. Without a window manager (offscreen, or a bare
// virtual display) nothing hands the keyboard back when a window closes, so this does
// what one would: the modal window on top, else the input window.
inline QWindow *keyboardWindow()
{
    if (!QGuiApplication::focusWindow()) {
        QWidget *next = QApplication::activeModalWidget();
        for (QWidget *window : QApplication::topLevelWidgets())
            if (!next && window->isVisible() && qobject_cast<frmInput *>(window))
                next = window;
        if (next) {
            next->activateWindow();
            if (!QTest::qWaitForWindowActive(next))
                qFatal("%s did not take the keyboard", qPrintable(next->windowTitle()));
        }
    }
    QWindow *window = QGuiApplication::focusWindow();
    if (!window)
        qFatal("no window has the keyboard");
    return window;
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(keyboardWindow(), key, modifiers);
}

inline void type(const QString &text)
{
    for (QChar character : text)
        QTest::keyClick(keyboardWindow(), character.toLatin1());
}

// The object name of the control with the focus.
inline QString focused()
{
    keyboardWindow();
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// The input window that the program's start-up opened.
inline frmInput *openedInputWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *input = qobject_cast<frmInput *>(window))
            return input;
    return nullptr;
}

// Counts the beeps while it lives.
class BeepCounter {
public:
    BeepCounter() { setBeepHandler([this] { ++m_count; }); }
    ~BeepCounter() { setBeepHandler({}); }
    BeepCounter(const BeepCounter &) = delete;
    BeepCounter &operator=(const BeepCounter &) = delete;
    int count() const { return m_count; }

private:
    int m_count = 0;
};

// Sets a counter the way a user at the keyboard would: Page Up for tens, Up for ones.
inline void keyInCount(UpDown *counter, int count)
{
    counter->setFocus();
    for (int i = 0; i < count / 10; ++i)
        QTest::keyClick(counter, Qt::Key_PageUp);
    for (int i = 0; i < count % 10; ++i)
        QTest::keyClick(counter, Qt::Key_Up);
}

// Presses a key given as a combination such as Qt::CTRL | Qt::Key_V.
inline void pressCombination(QWidget *widget, QKeyCombination combination)
{
    QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
}

} // namespace trelvane::test
