#include "platform/qt/qtscreenmetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace kugelfon {

ScreenMeasure QtScreenMetrics::measure() const
{
    ScreenMeasure m;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return m; // 0 x 0: refused like any unsupported size
    // The measure's 15 twips per pixel stand whatever font resolution the
    // desktop sets (Xft.dpi 120 for "large fonts"): the layout's factors only
    // fit the screen at that density, and the fonts are drawn as at 96 dpi to
    // match (screenFont).
    m.twipsWidth = screen->size().width() * m.twipsPerPixelX;
    m.twipsHeight = screen->size().height() * m.twipsPerPixelY;
    m.geometry = screen->geometry();
    m.available = screen->availableGeometry();
    // Wayland tells a program nothing of the desktop's panels: the free area
    // is the whole screen. Leave room for a top bar or dock (GNOME's 32 px
    // bar, KDE's 44 px panel) so a window of the program is not cut off.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        && m.available == m.geometry)
        m.available = m.geometry.marginsRemoved(kWaylandPanelAllowance);
    return m;
}

} // namespace kugelfon
