// A one-line result label: text() keeps the whole caption (the report reads it), while a
// caption wider than the label is drawn shortened, with the whole text as its tooltip.
#pragma once

#include <QLabel>

namespace trelvane {

class ResultLabel : public QLabel {
    Q_OBJECT
public:
    explicit ResultLabel(const QString &text, QWidget *parent);

    // True while the caption does not fit and is drawn shortened.
    bool isElided() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace trelvane
