#pragma once

#include "platform/screenmetrics.h"

namespace kugelfon {

class QtScreenMetrics final : public IScreenMetrics {
public:
    ScreenMeasure measure() const override;
};

} // namespace kugelfon
