#include "ui/kit/fonts.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace kugelfon {

void installFontSubstitutions()
{
    // Times New Roman and Arial reach their Liberation twins through
    // fontconfig's metric aliases too; MS Sans Serif has no alias there.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

void setScreenPointSize(QFont &font, double points)
{
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
}

QFont screenFont(const QString &family, double points, bool bold, bool underline)
{
    QFont f(family);
    setScreenPointSize(f, points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

void useScreenPointsForDefaultFont()
{
    // A taller menu bar would push the main window's buttons off the screen.
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0) {
        setScreenPointSize(font, font.pointSizeF());
        QApplication::setFont(font);
    }
}

} // namespace kugelfon
