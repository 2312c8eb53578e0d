#include "forms/track_box.h"

#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

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

TrackBox::TrackBox(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(4);
    setAlignment(Qt::AlignCenter);
    // The key filter sees typed characters only; paste, drop and input methods meet this.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")),
                                                 this));
}

void TrackBox::setKeyPressHandler(KeyPressHandler handler)
{
    m_keyPress = std::move(handler);
}

void TrackBox::keyPressEvent(QKeyEvent *event)
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

void TrackBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or another application taking over leaves the focus here, to return.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit lostFocus();
}

void TrackBox::dropEvent(QDropEvent *event)
{
    // Text dropped into a box the focus is elsewhere would never be committed: the
    // analysis would use the old footage while the box shows the new one. Taking the
    // focus makes leaving the box commit it, as after typing.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    QLineEdit::dropEvent(event);
}

} // namespace trelvane
