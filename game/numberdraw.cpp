#include "game/numberdraw.h"

#include "platform/random.h"

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
        const double drawn = random.next() * size;
        if (!(drawn >= 0 && drawn < size))
            continue; // a generator outside [0, 1) must not corrupt the order
        // Truncation is floor here, and much cheaper than std::floor.
        const int candidate = static_cast<int>(drawn) + 1;
        if (placed[candidate])
            continue;
        placed[candidate] = true;
        order[p++] = static_cast<qint16>(candidate);
    }
}

} // namespace kugelfon
