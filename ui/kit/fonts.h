#pragma once

#include <QFont>
#include <QString>

namespace kugelfon {

// The Windows font names the windows ask for, mapped onto the Liberation
// fonts; call once the application exists.
void installFontSubstitutions();

// Screen text is drawn as at 96 dpi, a point being 4/3 pixel, whatever font
// resolution the desktop sets: the windows are laid out in pixels, and
// larger text would not fit them.
void setScreenPointSize(QFont &font, double points);
QFont screenFont(const QString &family, double points, bool bold = false, bool underline = false);
// The application's default font (menus, message boxes) as at 96 dpi too.
void useScreenPointsForDefaultFont();

} // namespace kugelfon
