#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <cmath>

namespace kugelfon {

// Twips to device-independent pixels at the screen's twips per pixel.
inline int twipsToPx(double twips, double twipsPerPixel)
{
    return static_cast<int>(std::lround(twips / (twipsPerPixel > 0 ? twipsPerPixel : 15)));
}

inline QRect twipsRect(double left, double top, double width, double height, double tppX,
                       double tppY)
{
    return QRect(twipsToPx(left, tppX), twipsToPx(top, tppY), twipsToPx(width, tppX),
                 twipsToPx(height, tppY));
}

// Fonts are asked for by their names; fontconfig maps Times New Roman and
// Arial onto their Liberation twins, and main() maps MS Sans Serif.
inline QFont namedFont(const QString &family, double points, bool bold = false,
                       bool underline = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

} // namespace kugelfon
