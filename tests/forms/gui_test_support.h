// Helpers for driving the windows in tests: answering modal windows from inside their
// own event loop, counting beeps and typing into counters.
#pragma once

#include "forms/beep.h"
#include "forms/up_down.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyCombination>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace trelvane::test {

// Acts on the next modal window other than `besides` as soon as it is open and active.
// Gives up after five seconds, so a window that never opens fails the test instead of
// stalling it.
inline void whenModalOpens(std::function<void(QWidget *)> act, QWidget *besides = nullptr)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    const QDeadlineTimer deadline(5000);
    QPointer<QWidget> skip(besides);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, skip, deadline, besides] {
        QWidget *modal = QApplication::activeModalWidget();
        // Activation, and with it the focus, arrives through the platform after the
        // window opens; act only once it has, as a user would.
        const bool found = modal && !(besides && modal == skip) && modal->isActiveWindow();
        if (!found && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (found)
            act(modal);
    });
    poll->start();
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
