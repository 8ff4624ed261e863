#pragma once

#include <QRect>
#include <cmath>

namespace kugelfon {

// Window geometry is given in twips (1/1440 inch) and laid out at 15 twips
// per pixel whatever the desktop's dpi, so every window looks as designed.
inline constexpr double kTwipsPerPixel = 15;

inline int twipsToPx(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twipsToPx(left), twipsToPx(top), twipsToPx(width), twipsToPx(height));
}

} // namespace kugelfon
