#include "forms/entry_box.h"

#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>

namespace trelvane {

namespace {

// Keys that move, delete or paste rather than type: some platforms attach a text to
// Delete, so the key decides, not the text.
bool isEditingKey(int key)
{
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

// The character a key press types, with Ctrl+letter as its control character.
std::optional<char16_t> typedCharacter(const QKeyEvent &event)
{
    if (isEditingKey(event.key()) || event.text().isEmpty())
        return std::nullopt;
    // Alt and Meta combinations are shortcuts, not typing.
    if (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if ((event.modifiers() & Qt::ControlModifier) && event.key() >= Qt::Key_A
        && event.key() <= Qt::Key_Z)
        return static_cast<char16_t>(event.key() - Qt::Key_A + 1);
    return event.text().at(0).unicode();
}

} // namespace

EntryBox::EntryBox(QWidget *parent)
    : QLineEdit(parent)
{
}

void EntryBox::setKeyPressHandler(KeyPressHandler handler)
{
    m_keyPress = std::move(handler);
}

void EntryBox::keyPressEvent(QKeyEvent *event)
{
    if (const auto character = typedCharacter(*event); character && m_keyPress) {
        char16_t code = *character;
        m_keyPress(code);
        if (code == 0) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void EntryBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or another application taking over leaves the focus here, to return.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        leave();
}

void EntryBox::leave()
{
    emit lostFocus();
    // The owner may have changed the text as it took it (an empty footage becomes "0").
    m_taken = text();
}

void EntryBox::dropEvent(QDropEvent *event)
{
    // Text dropped into a box while the focus is elsewhere would never be taken: the
    // program would go on with the old content while the box shows the new one. Taking
    // the focus makes leaving the box take it, as after typing.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    QLineEdit::dropEvent(event);
}

void leaveEntryBoxes(const QWidget &window)
{
    for (EntryBox *box : window.findChildren<EntryBox *>())
        if (box->text() != box->m_taken)
            box->leave();
}

} // namespace trelvane
