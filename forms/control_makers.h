// Makers for the controls the windows place at fixed positions: each gets its name,
// caption and geometry in one call, owned by its parent.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace trelvane {

// Names a control just made and puts it where the window's design has it.
template <class Control>
Control *placed(Control *control, const QString &name, const QRect &geometry)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

QGroupBox *makeFrame(const QString &name, const QString &title, const QRect &geometry,
                     QWidget *parent);
QLabel *makeLabel(const QString &name, const QString &caption, const QRect &geometry,
                  QWidget *parent);
// In the bold button font, with its tooltip.
QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const QRect &geometry, QWidget *parent);

} // namespace trelvane
