#include "forms/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace trelvane {

namespace {

// Drawn on a 32-unit grid and scaled, so every size shows the same car.
QPixmap boxcar(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    // Rails.
    painter.setPen(QPen(QColor(96, 96, 96), 1.5));
    painter.drawLine(QPointF(0, 28.5), QPointF(32, 28.5));

    // Body, roof walk and door.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(150, 40, 30));
    painter.drawRect(QRectF(2.5, 8.5, 27, 14));
    painter.setBrush(QColor(60, 60, 60));
    painter.drawRect(QRectF(1.5, 6.5, 29, 2));
    painter.setBrush(QColor(120, 30, 22));
    painter.drawRect(QRectF(12.5, 10.5, 7, 12));

    // Couplers and wheels.
    painter.drawLine(QPointF(0, 20.5), QPointF(2.5, 20.5));
    painter.drawLine(QPointF(29.5, 20.5), QPointF(32, 20.5));
    painter.setBrush(QColor(40, 40, 40));
    for (double x : {6.0, 10.5, 21.5, 26.0})
        painter.drawEllipse(QPointF(x, 25.0), 2.3, 2.3);
    return pixmap;
}

} // namespace

QIcon trelvaneIcon()
{
    static const QIcon icon = [] {
        QIcon built;
        for (int size : {16, 32, 48})
            built.addPixmap(boxcar(size));
        return built;
    }();
    return icon;
}

} // namespace trelvane
