#include "game/numberdraw.h"

#include "platform/random.h"

#include <cmath>

namespace kugelfon {

void drawOrder(IRandom &random, int size, NumberOrder &order)
{
    random.reseedFromClock();
    order.fill(0);
    if (size != 75 && size != 90)
        return;
    // Draw with rejection: a number already placed is drawn again, which
    // keeps every order equally likely.
    std::array<bool, kMaxPool + 1> placed{};
    for (int p = 1; p <= size;) {
        const double drawn = std::floor(random.next() * size) + 1;
        if (!(drawn >= 1 && drawn <= size))
            continue; // a generator outside [0, 1) must not corrupt the order
        const int candidate = static_cast<int>(drawn);
        if (placed[candidate])
            continue;
        placed[candidate] = true;
        order[p++] = static_cast<qint16>(candidate);
    }
}

} // namespace kugelfon
