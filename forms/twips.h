// The designs are measured in twips; Qt places widgets in device-independent pixels.
#pragma once

#include <QRect>

namespace trelvane {

// 15 twips make one pixel at 96 dpi; Qt's device-pixel ratio scales the rest.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace trelvane
