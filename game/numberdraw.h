#pragma once

#include <QtGlobal>
#include <array>

namespace kugelfon {

class IRandom;

inline constexpr int kMaxPool = 90;

// Pool size for ZahlenModus 1 (75) or 2 (90); 0 for anything else.
int poolSize(qint16 zahlenModus);

// Lays down the whole order of a game: entries 1..N hold a random permutation
// of 1..N, all other entries 0. Any pool value but 1 or 2 leaves it empty.
void shuffleNumbers(std::array<qint16, 91> &order, qint16 zahlenModus, IRandom &random);

} // namespace kugelfon
