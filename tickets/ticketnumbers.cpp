#include "tickets/ticketnumbers.h"

#include "platform/random.h"

namespace kugelfon {

void shuffleBlockNumbers(IRandom &random, int pool, BlockNumbers &out)
{
    random.reseedFromClock();
    out.fill(0);
    if (pool != 75 && pool != 90)
        return;
    // Draw until a number comes up that is not placed yet. A flag per number
    // answers the same question as scanning the placed ones, in constant time.
    std::array<bool, 91> used{};
    for (int i = 1; i <= pool; ++i) {
        int x = 0;
        do {
            x = static_cast<int>(random.next() * pool) + 1;
        } while (used[x]);
        used[x] = true;
        out[i] = static_cast<std::int16_t>(x);
    }
}

void buildTicket(IRandom &random, const PrintSettings &s, TicketNumbers &ticket)
{
    BlockNumbers order{};
    for (int b = 1; b <= s.blocks; ++b) {
        shuffleBlockNumbers(random, s.pool, order);
        for (int r = 1; r <= s.rows; ++r)
            for (int c = 1; c <= s.columns; ++c)
                ticket.cells[b][r][c] = order[(r - 1) * s.columns + c];
    }
}

int chooseFreeColumn(IRandom &random, bool freeCells, int columns)
{
    if (!freeCells)
        return 0;
    return static_cast<int>(columns * random.next()) + 1;
}

} // namespace kugelfon
