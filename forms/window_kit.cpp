#include "forms/window_kit.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace trelvane {

QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    return font;
}

QFont buttonFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

QIcon trelvaneIcon()
{
    // The pictures are rendered at build time from the desktop icon's SVG, so the windows,
    // the desktop entry and the package all show the same car.
    static const QIcon icon = [] {
        QIcon built;
        for (int size : {16, 32, 48})
            built.addFile(QString(":/icons/%1/trelvane.png").arg(size), QSize(size, size));
        return built;
    }();
    return icon;
}

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

namespace {
std::function<void()> &beepHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void systemBeep()
{
    if (beepHandler())
        beepHandler()();
    else
        QApplication::beep();
}

void setBeepHandler(std::function<void()> handler)
{
    beepHandler() = std::move(handler);
}

bool blockedByModalWindow(const QWidget &control)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return modal && modal != control.window();
}

} // namespace trelvane
