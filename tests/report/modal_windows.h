// Answering modal windows from tests: an action runs on the next modal window of a given
// type once it is open and active, inside that window's own event loop.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace trelvane::test {

// Gives up after the timeout, so a window that never opens fails the test (the caller
// sees its action never ran) instead of being answered by the wrong handler.
template <class Window>
void onNextModal(std::function<void(Window *)> act, int timeoutMs = 10000)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, deadline] {
        auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
        // Focus events need an active window, as they do for a user.
        const bool ready = window && window->isVisible() && window->isActiveWindow();
        if (!ready && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (ready)
            act(window);
    });
    poll->start();
}

} // namespace trelvane::test
