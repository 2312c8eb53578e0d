#include "forms/control_makers.h"

#include "forms/fonts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace trelvane {

QGroupBox *makeFrame(const QString &name, const QString &title, const QRect &geometry,
                     QWidget *parent)
{
    return placed(new QGroupBox(title, parent), name, geometry);
}

QLabel *makeLabel(const QString &name, const QString &caption, const QRect &geometry,
                  QWidget *parent)
{
    return placed(new QLabel(caption, parent), name, geometry);
}

QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const QRect &geometry, QWidget *parent)
{
    auto *push = placed(new QPushButton(caption, parent), name, geometry);
    push->setFont(buttonFont());
    push->setToolTip(tip);
    return push;
}

} // namespace trelvane
