#include "tickets/ticketnumbers.h"

#include "game/numberdraw.h"
#include "platform/random.h"

namespace kugelfon {

void buildTicket(IRandom &random, const PrintSettings &s, TicketNumbers &ticket)
{
    NumberOrder order{};
    for (int b = 1; b <= s.blocks; ++b) {
        drawOrder(random, s.pool, order);
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
