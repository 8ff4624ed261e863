#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <algorithm>
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

// Screen text is drawn as at 96 dpi, a point being 4/3 pixel, whatever font
// resolution the desktop sets: the windows are laid out in pixels at 15
// twips per pixel, and larger text would not fit them.
inline void setScreenPointSize(QFont &f, double points)
{
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
}

// Fonts are asked for by their names; fontconfig maps Times New Roman and
// Arial onto their Liberation twins, and main() maps MS Sans Serif.
inline QFont namedFont(const QString &family, double points, bool bold = false,
                       bool underline = false)
{
    QFont f(family);
    setScreenPointSize(f, points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

// Printed text keeps true points, sized by the printer's own resolution.
inline QFont printerFont(const QString &family, double points, bool bold = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace kugelfon
