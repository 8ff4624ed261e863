#pragma once

namespace kugelfon {

// The primary screen in twips (1/1440 inch) and twips per pixel.
struct ScreenMeasure {
    double twipsWidth = 0;
    double twipsHeight = 0;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

class IScreenMetrics {
public:
    virtual ~IScreenMetrics() = default;
    virtual ScreenMeasure measure() const = 0;
};

} // namespace kugelfon
