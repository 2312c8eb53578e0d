// A footage box: hands each typed character to a key-press handler that may discard it,
// reports losing the focus, and refuses any text that is not 0..4 digits.
#pragma once

#include <QLineEdit>

#include <functional>

namespace trelvane {

class TrackBox : public QLineEdit {
    Q_OBJECT
public:
    // Receives the character's code; setting it to 0 discards the character.
    using KeyPressHandler = std::function<void(char16_t &keyAscii)>;

    explicit TrackBox(QWidget *parent);

    void setKeyPressHandler(KeyPressHandler handler);

signals:
    void lostFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    KeyPressHandler m_keyPress;
};

} // namespace trelvane
