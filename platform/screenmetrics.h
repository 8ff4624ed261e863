#pragma once

#include <QRect>

namespace kugelfon {

// The primary screen in twips (1/1440 inch) and twips per pixel, and where
// it lies on the desktop in pixels.
struct ScreenMeasure {
    double twipsWidth = 0;
    double twipsHeight = 0;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    QRect geometry;  // the whole screen
    QRect available; // what the desktop's panels leave free
};

class IScreenMetrics {
public:
    virtual ~IScreenMetrics() = default;
    virtual ScreenMeasure measure() const = 0;
};

} // namespace kugelfon
