// A seeded random user: picks the next key press, paste, drop, click, wheel turn, resize
// or pause for whichever window takes input, as a person at the keyboard and mouse could.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <random>

class QWidget;

namespace trelvane::test {

struct UserEvent {
    QString description;
    int delayMs = 0; // before the event after this one
    // Runs the event; it may open a modal window and return only once that has closed.
    std::function<void()> perform;
};

class RandomUser {
public:
    explicit RandomUser(quint64 seed) : rng_(seed) {}

    // An event for `top`, the window that takes input now (the input window, a modal
    // window or a popup menu).
    UserEvent nextFor(QWidget *top);

private:
    int pick(std::initializer_list<int> weights);
    int below(int bound);
    template <class T> const T &oneOf(const QList<T> &items) { return items[below(int(items.size()))]; }

    QString randomText();
    UserEvent typeKey(QWidget *top);
    UserEvent clickSomething(QWidget *top, const QStringList &excluded);
    UserEvent onInput(QWidget *input);
    UserEvent onAnswers(QWidget *answers);
    UserEvent onPrompt(QWidget *prompt);
    UserEvent onMessageBox(QWidget *box);
    UserEvent onPopup(QWidget *popup);

    std::mt19937_64 rng_;
};

} // namespace trelvane::test
