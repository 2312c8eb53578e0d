// A narrow vertical up-down counter: only the two arrows, no text of its own; the value
// is shown by the label it is bound to.
#pragma once

#include <QSpinBox>

namespace trelvane {

class UpDown : public QSpinBox {
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace trelvane
