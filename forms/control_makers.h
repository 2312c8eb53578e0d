// Makers for the controls the windows place at fixed positions: each gets its name,
// caption and geometry in one call, owned by its parent.
#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace trelvane {

QGroupBox *makeFrame(const QString &name, const QString &title, const QRect &geometry,
                     QWidget *parent);
QLabel *makeLabel(const QString &name, const QString &caption, const QRect &geometry,
                  QWidget *parent);
// In the bold button font, with its tooltip.
QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const QRect &geometry, QWidget *parent);

} // namespace trelvane
