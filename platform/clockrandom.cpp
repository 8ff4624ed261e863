#include "platform/clockrandom.h"

#include <chrono>

namespace kugelfon {

namespace {

std::uint64_t splitmix(std::uint64_t &x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

std::uint64_t clockNow()
{
    return static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace

ClockRandom::ClockRandom(std::uint64_t seed)
{
    for (auto &s : m_state)
        s = splitmix(seed);
}

ClockRandom::ClockRandom() : ClockRandom(0x4B75676566F6E21ULL) { reseedFromClock(); }

void ClockRandom::mix(std::uint64_t value)
{
    // Fold the value into the existing state instead of replacing it, so equal
    // values at two reseeds still lead to different sequences.
    std::uint64_t x = value ^ nextBits();
    for (auto &s : m_state)
        s ^= splitmix(x);
    if ((m_state[0] | m_state[1] | m_state[2] | m_state[3]) == 0)
        m_state[0] = 1;
}

void ClockRandom::reseedFromClock() { mix(clockNow()); }

std::uint64_t ClockRandom::nextBits()
{
    const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotl(m_state[3], 45);
    return result;
}

double ClockRandom::next()
{
    // 53 random bits give a double in [0, 1) that never reaches 1.
    return static_cast<double>(nextBits() >> 11) * 0x1.0p-53;
}

} // namespace kugelfon
