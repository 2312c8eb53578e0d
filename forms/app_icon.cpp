#include "forms/app_icon.h"

namespace trelvane {

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

} // namespace trelvane
