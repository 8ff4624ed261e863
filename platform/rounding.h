#pragma once

#include <cmath>

namespace kugelfon {

// Nearest integer, halves to the even neighbour; 0 for what is no number.
inline long long roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<long long>(std::nearbyint(value)); // default mode: to even
}

} // namespace kugelfon
