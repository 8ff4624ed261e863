#include "game/numberdraw.h"

#include "platform/random.h"

#include <cmath>

namespace kugelfon {

int poolSize(qint16 zahlenModus)
{
    switch (zahlenModus) {
    case 1: return 75;
    case 2: return 90;
    default: return 0;
    }
}

void shuffleNumbers(std::array<qint16, 91> &order, qint16 zahlenModus, IRandom &random)
{
    random.reseedFromClock();
    for (int i = 1; i <= kMaxPool; ++i)
        order[i] = 0;
    const int n = poolSize(zahlenModus);
    if (n == 0)
        return;

    // Draw with rejection: a candidate already in the order is drawn again.
    int p = 1;
    while (p <= n) {
        int candidate = static_cast<int>(std::floor(random.next() * n + 1));
        if (candidate < 1 || candidate > n)
            continue; // a generator outside [0, 1) must not corrupt the order
        int j = 1;
        while (order[j] != candidate && order[j] != 0)
            ++j;
        if (order[j] == 0) {
            order[p] = static_cast<qint16>(candidate);
            ++p;
        }
    }
}

} // namespace kugelfon
