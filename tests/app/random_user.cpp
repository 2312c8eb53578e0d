#include "random_user.h"

#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/up_down.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>

namespace trelvane::test {
namespace {

struct Key {
    Qt::Key key;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Typing keys, editing keys, control keys and digits of other scripts.
const QList<Key> &keys()
{
    static const QList<Key> all = [] {
        QList<Key> k;
        for (char c = '0'; c <= '9'; ++c)
            k.append({Qt::Key(Qt::Key_0 + (c - '0')), QString(QChar(c))});
        for (char c : {'a', 'x', 'Z'})
            k.append({Qt::Key(Qt::Key_A + (QChar(c).toUpper().toLatin1() - 'A')), QString(QChar(c))});
        k.append({Qt::Key_Space, " "});
        k.append({Qt::Key_Minus, "-"});
        k.append({Qt::Key_Period, "."});
        k.append({Qt::Key_Comma, ","});
        k.append({Qt::Key_Plus, "+"});
        k.append({Qt::Key_unknown, QStringLiteral("\u0663")}); // Arabic-Indic three
        k.append({Qt::Key_unknown, QStringLiteral("\uFF11")}); // full-width one
        k.append({Qt::Key_unknown, QStringLiteral("\u06F4")}); // extended Arabic-Indic four
        k.append({Qt::Key_unknown, QStringLiteral("\u00E9")});
        k.append({Qt::Key_Backspace, "\b"});
        k.append({Qt::Key_Delete, "\x7f"});
        k.append({Qt::Key_Return, "\r"});
        k.append({Qt::Key_Enter, "\r", Qt::KeypadModifier});
        k.append({Qt::Key_Escape, "\x1b"});
        k.append({Qt::Key_Tab, "\t"});
        k.append({Qt::Key_Backtab, "", Qt::ShiftModifier});
        for (Qt::Key move : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home,
                             Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown})
            k.append({move, ""});
        for (Qt::Key letter : {Qt::Key_V, Qt::Key_C, Qt::Key_X, Qt::Key_A, Qt::Key_Z, Qt::Key_Y})
            k.append({letter, QString(QChar(char16_t(letter - Qt::Key_A + 1))), Qt::ControlModifier});
        k.append({Qt::Key_Insert, "", Qt::ShiftModifier}); // paste
        k.append({Qt::Key_Insert, "", Qt::ControlModifier}); // copy
        k.append({Qt::Key_Delete, "", Qt::ShiftModifier}); // cut
        k.append({Qt::Key_A, "a", Qt::AltModifier});
        return k;
    }();
    return all;
}

// What the clipboard, a drop or an input method can offer.
QStringList offeredTexts()
{
    return {"7",       "42",   "0075",        "9999",         "12345",   "123456789",
            "abc",     "4a",   "-5",          "3.5",          " 8",      "8 ",
            "+7",      "1e3",  "0x1F",        "\t9",          "9\n",     QString(),
            "",        "0",    "\u0663",      "\u0661\u0662", "\uFF11",  "\uFF11\uFF12\uFF13",
            "\u06F4",  "\u07C3", "\U0001F682", QString(10000, '9'), QString(5000, 'x'),
            QString("12\u200E3"), QString(QChar(0)) + "5"};
}

// A point inside the widget, kept off its very edge.
QPoint somewhereIn(const QWidget *widget, int a, int b)
{
    const int w = std::max(1, widget->width() - 2), h = std::max(1, widget->height() - 2);
    return {1 + a % w, 1 + b % h};
}

// Press and release as two events: the press may open a modal window that closes the
// widget's window before the release arrives.
void tap(QWidget *widget, const Key &key)
{
    QPointer<QWidget> target(widget);
    QTest::sendKeyEvent(QTest::Press, widget, key.key, key.text, key.modifiers);
    if (target)
        QTest::sendKeyEvent(QTest::Release, target, key.key, key.text, key.modifiers);
}

void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QPointer<QWidget> target(widget);
    QTest::mousePress(widget, button, Qt::NoModifier, at);
    if (target)
        QTest::mouseRelease(target, button, Qt::NoModifier, at);
}

void drop(QWidget *box, const QString &text, QPoint at)
{
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &dropped);
}

QString shown(const QString &text)
{
    QString s = text.left(12);
    if (text.size() > 12)
        s += QString("...(%1 chars)").arg(text.size());
    return '"' + s + '"';
}

QWidget *focusIn(QWidget *top)
{
    QWidget *focus = QApplication::focusWidget();
    return focus && focus->window() == top ? focus : top;
}

} // namespace

int RandomUser::below(int bound)
{
    return int(std::uniform_int_distribution<int>(0, bound - 1)(rng_));
}

int RandomUser::pick(std::initializer_list<int> weights)
{
    int total = 0;
    for (int w : weights)
        total += w;
    int roll = below(total), index = 0;
    for (int w : weights) {
        if (roll < w)
            return index;
        roll -= w;
        ++index;
    }
    return index - 1;
}

QString RandomUser::randomText()
{
    if (below(3) == 0)
        return oneOf(offeredTexts());
    QString text;
    const int length = below(4) == 0 ? 40 + below(400) : below(8);
    for (int i = 0; i < length; ++i)
        text += oneOf(keys()).text.left(1);
    return text;
}

UserEvent RandomUser::typeKey(QWidget *top)
{
    Key key = oneOf(keys());
    QWidget *target = focusIn(top);
    // Space on a focused Exit would end the run, as a click on it would; Tab moves on.
    if (target->objectName() == "cmdExit" && key.key == Qt::Key_Space)
        key = {Qt::Key_Tab, "\t"};
    return {QString("key %1 text %2 modifiers %3 on %4")
                .arg(key.key, 0, 16)
                .arg(shown(key.text))
                .arg(int(key.modifiers), 0, 16)
                .arg(target->objectName()),
            0, [target, key] { tap(target, key); }};
}

UserEvent RandomUser::clickSomething(QWidget *top, const QStringList &excluded)
{
    QList<QWidget *> controls;
    for (QWidget *child : top->findChildren<QWidget *>())
        if (child->isVisibleTo(top) && child->isEnabled() && !excluded.contains(child->objectName()))
            controls << child;
    if (controls.isEmpty())
        controls << top;
    QWidget *target = oneOf(controls);
    const QPoint at = somewhereIn(target, below(1000), below(1000));
    const bool twice = below(10) == 0 && !qobject_cast<QAbstractButton *>(target);
    return {QString("%1 at %2,%3 on %4 (%5)")
                .arg(twice ? "double click" : "click")
                .arg(at.x())
                .arg(at.y())
                .arg(target->objectName(), target->metaObject()->className()),
            0, [target, at, twice] {
                if (twice)
                    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
                else
                    click(target, at);
            }};
}

UserEvent RandomUser::onInput(QWidget *input)
{
    const QList<QLineEdit *> boxes = {input->findChild<QLineEdit *>("txtPassTrack"),
                                      input->findChild<QLineEdit *>("txtFuncTrack"),
                                      input->findChild<QLineEdit *>("txtStorTrack")};
    QList<UpDown *> counters = input->findChildren<UpDown *>();
    QLineEdit *box = oneOf(boxes);
    UpDown *counter = oneOf(counters);
    switch (pick({30, 22, 8, 5, 4, 3, 10, 6, 5, 4, 3})) {
    case 0:
        return typeKey(input);
    case 1:
        // Every control but Exit, which would end the run.
        return clickSomething(input, {"cmdExit"});
    case 2: {
        const QString text = randomText();
        return {QString("paste %1 with shift+insert into %2").arg(shown(text), box->objectName()),
                0, [box, text] {
                    QApplication::clipboard()->setText(text);
                    click(box, somewhereIn(box, 3, 5));
                    tap(box, {Qt::Key_Insert, "", Qt::ShiftModifier});
                }};
    }
    case 3: {
        const QString text = randomText();
        const QPoint at = somewhereIn(box, below(100), 5);
        return {QString("drop %1 on %2").arg(shown(text), box->objectName()), 0,
                [box, text, at] { drop(box, text, at); }};
    }
    case 4: {
        const QString text = randomText();
        return {QString("input method commits %1 into the focus").arg(shown(text)), 0,
                [input, text] {
                    QInputMethodEvent compose;
                    compose.setCommitString(text);
                    QApplication::sendEvent(focusIn(input), &compose);
                }};
    }
    case 5: {
        const QPoint at = somewhereIn(box, below(100), 5);
        return {QString("context menu on %1").arg(box->objectName()), 0, [box, at] {
                    // A right button press gives the box the focus before its menu opens.
                    click(box, at, Qt::RightButton);
                    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
                    QApplication::sendEvent(box, &menu);
                }};
    }
    case 6: {
        const Qt::Key step = oneOf(QList<Qt::Key>{Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
                                                  Qt::Key_PageDown});
        const int times = below(5) == 0 ? 1 + below(1200) : 1;
        return {QString("key %1 x%2 on %3").arg(step, 0, 16).arg(times).arg(counter->objectName()),
                0, [counter, step, times] {
                    click(counter, {counter->width() / 2, counter->height() / 2});
                    for (int i = 0; i < times; ++i)
                        tap(counter, {step, ""});
                }};
    }
    case 7: {
        const int delta = below(2) ? 120 : -120;
        const int turns = 1 + below(30);
        const bool chosenFirst = below(2) == 0;
        return {QString("wheel %1 x%2 on %3%4")
                    .arg(delta)
                    .arg(turns)
                    .arg(counter->objectName(), chosenFirst ? " after clicking it" : ""),
                0, [counter, delta, turns, chosenFirst] {
                    if (chosenFirst)
                        click(counter, {counter->width() / 2, 1});
                    for (int i = 0; i < turns; ++i) {
                        const QPointF at(counter->width() / 2.0, counter->height() / 2.0);
                        QWheelEvent wheel(at, counter->mapToGlobal(at), QPoint(), QPoint(0, delta),
                                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                        QApplication::sendEvent(counter, &wheel);
                    }
                }};
    }
    case 8: {
        QWidget *option = input->findChild<QWidget *>(QString("optScale%1").arg(1 + below(6)));
        return {QString("choose %1").arg(option->objectName()), 0,
                [option] { click(option, {6, option->height() / 2}); }};
    }
    case 9: {
        QWidget *analyze = input->findChild<QWidget *>("cmdAnalyze");
        return {"click Analyze", 0, [analyze] { click(analyze, somewhereIn(analyze, 30, 9)); }};
    }
    default: {
        const int ms = 1 + below(30);
        return {QString("pause %1 ms").arg(ms), ms, [] {}};
    }
    }
}

UserEvent RandomUser::onAnswers(QWidget *window)
{
    auto *answers = static_cast<frmAnswers *>(window);
    // Its tick would otherwise rarely fall inside a run of quick events.
    answers->tmrMsgTimer->setInterval(40);
    switch (pick({14, 6, 5, 4, 5, 8, 16, 12, 10, 4, 16})) {
    case 0:
        return {"click Print", 0, [b = answers->cmdPrint] { click(b, {20, 10}); }};
    case 1:
        return {"click OK", 0, [b = answers->cmdOK] { click(b, {20, 10}); }};
    case 2:
        return {"Esc", 0, [answers] { tap(focusIn(answers), {Qt::Key_Escape, "\x1b"}); }};
    case 3:
        return {"Enter", 0, [answers] { tap(focusIn(answers), {Qt::Key_Return, "\r"}); }};
    case 4:
        return {"close box", 0, [answers] { answers->close(); }};
    case 5:
        return {"Space", 0, [answers] { tap(focusIn(answers), {Qt::Key_Space, " "}); }};
    case 6:
        return clickSomething(answers, {});
    case 7:
        return typeKey(answers);
    case 8: {
        const int ms = 20 + below(60);
        return {QString("pause %1 ms").arg(ms), ms, [] {}};
    }
    case 9: {
        const QSize size(100 + below(900), 50 + below(700));
        return {QString("resize to %1x%2").arg(size.width()).arg(size.height()), 0,
                [answers, size] { answers->resize(size); }};
    }
    default:
        return {"Tab", 0, [answers] { tap(focusIn(answers), {Qt::Key_Tab, "\t"}); }};
    }
}

UserEvent RandomUser::onPrompt(QWidget *window)
{
    auto *prompt = static_cast<frmGetRoad *>(window);
    switch (pick({25, 8, 10, 8, 6, 5, 4, 3, 6, 10, 15})) {
    case 0: {
        const QString text = randomText();
        return {QString("type %1").arg(shown(text)), 0,
                [box = prompt->txtRoadName, text] {
                    for (QChar c : text)
                        tap(box, {Qt::Key_unknown, QString(c)});
                }};
    }
    case 1: {
        const QString text = randomText();
        return {QString("paste %1 with ctrl+v").arg(shown(text)), 0,
                [prompt, text] {
                    QApplication::clipboard()->setText(text);
                    tap(focusIn(prompt), {Qt::Key_V, "\x16", Qt::ControlModifier});
                }};
    }
    case 2:
        return {"click Cancel", 0, [b = prompt->cmdCancel] { click(b, {20, 10}); }};
    case 3:
        return {"Esc", 0, [prompt] { tap(focusIn(prompt), {Qt::Key_Escape, "\x1b"}); }};
    case 4:
        return {"close box", 0, [prompt] { prompt->close(); }};
    case 5:
        return {"click OK", 0, [b = prompt->cmdOK] { click(b, {20, 10}); }};
    case 6:
        return {"Enter", 0, [prompt] { tap(focusIn(prompt), {Qt::Key_Return, "\r"}); }};
    case 7:
        return {"Backspace", 0, [prompt] { tap(focusIn(prompt), {Qt::Key_Backspace, "\b"}); }};
    case 8:
        return {"Tab", 0, [prompt] { tap(focusIn(prompt), {Qt::Key_Tab, "\t"}); }};
    case 9:
        return clickSomething(prompt, {});
    default:
        return typeKey(prompt);
    }
}

UserEvent RandomUser::onMessageBox(QWidget *window)
{
    auto *box = static_cast<QMessageBox *>(window);
    switch (pick({10, 10, 5, 10, 10, 4, 3})) {
    case 0:
        return {"Enter", 0, [box] { tap(focusIn(box), {Qt::Key_Return, "\r"}); }};
    case 1:
        return {"Esc", 0, [box] { tap(focusIn(box), {Qt::Key_Escape, "\x1b"}); }};
    case 2:
        return {"Space", 0, [box] { tap(focusIn(box), {Qt::Key_Space, " "}); }};
    case 3:
        return clickSomething(box, {});
    case 4:
        return typeKey(box);
    case 5:
        return {"close box", 0, [box] { box->close(); }};
    default:
        return {"Tab", 0, [box] { tap(focusIn(box), {Qt::Key_Tab, "\t"}); }};
    }
}

UserEvent RandomUser::onPopup(QWidget *popup)
{
    const Key key = oneOf(QList<Key>{{Qt::Key_Down, ""},
                                     {Qt::Key_Down, ""},
                                     {Qt::Key_Down, ""},
                                     {Qt::Key_Up, ""},
                                     {Qt::Key_Right, ""},
                                     {Qt::Key_Left, ""},
                                     {Qt::Key_Return, "\r"},
                                     {Qt::Key_Escape, "\x1b"}});
    return {QString("key %1 in the menu").arg(key.key, 0, 16), 0, [popup, key] { tap(popup, key); }};
}

UserEvent RandomUser::nextFor(QWidget *top)
{
    if (qobject_cast<QMenu *>(top))
        return onPopup(top);
    if (auto *dialog = qobject_cast<QFileDialog *>(top))
        // The file dialog would reach the real file system: it is only ever cancelled.
        return {"cancel the file dialog", 0, [dialog] { dialog->reject(); }};
    if (qobject_cast<frmAnswers *>(top))
        return onAnswers(top);
    if (qobject_cast<frmGetRoad *>(top))
        return onPrompt(top);
    if (qobject_cast<QMessageBox *>(top))
        return onMessageBox(top);
    if (top->objectName() == "frmInput")
        return onInput(top);
    return {QString("Esc in an unexpected %1").arg(top->metaObject()->className()), 0,
            [top] { tap(focusIn(top), {Qt::Key_Escape, "\x1b"}); }};
}

} // namespace trelvane::test
