// Driving the program with keys alone, each one sent through the window system to the
// window that has the keyboard, as a user's key arrives.
#pragma once

#include "forms/frm_input.h"

#include <QApplication>
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

} // namespace trelvane::test
