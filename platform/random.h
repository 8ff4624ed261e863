#pragma once

namespace kugelfon {

class IRandom {
public:
    virtual ~IRandom() = default;
    // Uniform in [0, 1).
    virtual double next() = 0;
    // Mixes the clock into the running state: two reseeds within the same
    // clock tick still give different sequences.
    virtual void reseedFromClock() = 0;
};

} // namespace kugelfon
