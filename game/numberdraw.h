#pragma once

#include <QtGlobal>
#include <array>

namespace kugelfon {

class IRandom;

inline constexpr int kMaxPool = 90;

// Entries 1..90; entry 0 is never used.
using NumberOrder = std::array<qint16, kMaxPool + 1>;

// Lays down a whole order at once, after reseeding from the clock: entries
// 1..size hold every number of 1..size exactly once in random order, all
// other entries 0. A size other than 75 or 90 leaves the order empty.
void drawOrder(IRandom &random, int size, NumberOrder &order);

} // namespace kugelfon
