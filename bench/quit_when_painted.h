// The end of a timed start-up: the window has been drawn. Quits (or runs `done`) on the
// first turn of the event loop after the first paint of the watched window, so every
// program timed against another is measured to the same point.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

class QuitWhenPainted : public QObject {
public:
    explicit QuitWhenPainted(QWidget *window, std::function<void()> done = &QCoreApplication::quit)
        : QObject(window), done_(std::move(done))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, QCoreApplication::instance(), done_);
        }
        return false;
    }

private:
    std::function<void()> done_;
};
