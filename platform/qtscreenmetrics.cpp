#include "platform/qtscreenmetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace kugelfon {

ScreenMeasure QtScreenMetrics::measure() const
{
    ScreenMeasure m;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return m; // 0 x 0: refused like any unsupported size
    const double dpiX = screen->logicalDotsPerInchX() > 0 ? screen->logicalDotsPerInchX() : 96.0;
    const double dpiY = screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY() : 96.0;
    m.twipsPerPixelX = 1440.0 / dpiX;
    m.twipsPerPixelY = 1440.0 / dpiY;
    m.twipsWidth = screen->size().width() * m.twipsPerPixelX;
    m.twipsHeight = screen->size().height() * m.twipsPerPixelY;
    m.geometry = screen->geometry();
    m.available = screen->availableGeometry();
    return m;
}

} // namespace kugelfon
