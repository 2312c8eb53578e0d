#include "forms/control_makers.h"

#include "forms/fonts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace trelvane {

QGroupBox *makeFrame(const QString &name, const QString &title, const QRect &geometry,
                     QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

QLabel *makeLabel(const QString &name, const QString &caption, const QRect &geometry,
                  QWidget *parent)
{
    auto *text = new QLabel(caption, parent);
    text->setObjectName(name);
    text->setGeometry(geometry);
    return text;
}

QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const QRect &geometry, QWidget *parent)
{
    auto *push = new QPushButton(caption, parent);
    push->setObjectName(name);
    push->setFont(buttonFont());
    push->setToolTip(tip);
    push->setGeometry(geometry);
    return push;
}

} // namespace trelvane
