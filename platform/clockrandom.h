#pragma once

#include "platform/random.h"

#include <cstdint>

namespace kugelfon {

// xoshiro256** with the clock folded into its running state on every reseed.
class ClockRandom final : public IRandom {
public:
    ClockRandom();
    // A repeatable generator that has not seen the clock (tests, tools).
    explicit ClockRandom(std::uint64_t seed);
    double next() override;
    void reseedFromClock() override;

    // For tests and tools that need a repeatable sequence.
    void mix(std::uint64_t value);

private:
    std::uint64_t nextBits();
    std::uint64_t m_state[4];
};

} // namespace kugelfon
