// A one-line entry box whose content is taken when the user leaves it: the track boxes of
// the input window and the name box of the prompt.
#pragma once

#include <QLineEdit>

#include <functional>

namespace trelvane {

class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    // Receives the code of each typed character before it is inserted; setting it to 0
    // discards the character.
    using KeyPressHandler = std::function<void(char16_t &keyAscii)>;

    explicit EntryBox(QWidget *parent);

    void setKeyPressHandler(KeyPressHandler handler);

signals:
    // The user left the box: the focus moved to another control of the program, or a
    // button acted while the box shows text not yet taken (see leaveEntryBoxes). A context
    // menu or another program taking over is not leaving: the focus comes back to the box.
    void lostFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend void leaveEntryBoxes(const QWidget &window);

    // Tells the box's owner that the user has left it (lostFocus), and remembers the text
    // it then held as taken.
    void leave();

    KeyPressHandler m_keyPress;
    QString m_taken; // the text as the box was last left
};

// A button that acts without taking the focus (Enter on a default button, Esc on a cancel
// button, a shortcut, an assistive tool's press) first leaves the entry boxes of `window`
// that show text not yet taken, as a click would leave the box with the focus: the one
// typed into, or one an assistive tool filled in without ever giving it the focus. So the
// button acts on what the boxes show.
void leaveEntryBoxes(const QWidget &window);

} // namespace trelvane
