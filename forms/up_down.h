// A narrow vertical up-down counter: only the two arrows, no text of its own; the value
// is shown by the label it is bound to. Besides the arrow and page keys and the wheel, the
// digits typed within a moment of each other set the number, and Home and End go to the
// ends of its range. Screen readers hear the value it takes, once typed digits have settled.
#pragma once

#include <QElapsedTimer>
#include <QSpinBox>
#include <QTimer>

namespace trelvane {

class UpDown : public QSpinBox {
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent);

    void stepBy(int steps) override;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void announceValue();

    QElapsedTimer m_sinceDigit; // the last digit typed, while a number is being typed
    QTimer m_settling;          // from the last digit typed until the number stands
};

} // namespace trelvane
