#pragma once

#include "platform/screenmetrics.h"

#include <QMargins>

namespace kugelfon {

// On Wayland, where the free area is not told, what panels may take: 48 px
// of each dimension, so that on 1920 x 1080 a window of 1024 x 768 is taken,
// not one of 1280 x 1024 that a 32 px bar would cut.
inline constexpr QMargins kWaylandPanelAllowance(24, 24, 24, 24);

class QtScreenMetrics final : public IScreenMetrics {
public:
    ScreenMeasure measure() const override;
};

} // namespace kugelfon
