// Answering modal windows from tests: an action runs on the next modal window of a given
// type once it is open and active, inside that window's own event loop.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace trelvane::test {

// A wait for a modal window; destroying it stops the wait, so an action that refers to
// the test's local variables can never run after they are gone.
class PendingModal {
public:
    PendingModal() = default;
    explicit PendingModal(QTimer *poll) : poll_(poll) {}
    PendingModal(PendingModal &&other) noexcept : poll_(std::exchange(other.poll_, nullptr)) {}
    PendingModal &operator=(PendingModal &&other) noexcept
    {
        cancel();
        poll_ = std::exchange(other.poll_, nullptr);
        return *this;
    }
    ~PendingModal() { cancel(); }

    void cancel()
    {
        if (poll_) {
            poll_->stop();
            poll_->deleteLater();
        }
        poll_ = nullptr;
    }

private:
    QPointer<QTimer> poll_;
};

// Gives up after the timeout, so a window that never opens fails the test (the caller
// sees its action never ran) instead of being answered by the wrong handler.
template <class Window>
[[nodiscard]] PendingModal onNextModal(std::function<void(Window *)> act, int timeoutMs = 10000)
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
    return PendingModal(poll);
}

} // namespace trelvane::test
