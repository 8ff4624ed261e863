#include "tickets/ticketverdict.h"

namespace kugelfon {

bool BlockVerdict::full() const
{
    for (int r = 1; r <= rows; ++r)
        if (!rowFull(r))
            return false;
    return rows > 0;
}

bool printedCell(const NumberedTicket &t, int block, int row, int column)
{
    return t.freeColumn[block][row] != column && t.numbers.at(block, row, column) > 0;
}

TicketVerdict judgeTicket(const NumberedTicket &t, const std::bitset<kMaxPool + 1> &called)
{
    TicketVerdict v;
    const TicketLayout &l = t.layout;
    v.blocks = l.blocks;
    for (int b = 1; b <= l.blocks; ++b) {
        BlockVerdict &block = v.block[size_t(b)];
        block.rows = l.rows;
        for (int r = 1; r <= l.rows; ++r)
            for (int c = 1; c <= l.columns; ++c) {
                const int n = t.numbers.at(b, r, c);
                if (printedCell(t, b, r, c) && n <= kMaxPool && !called.test(size_t(n)))
                    ++block.missing[size_t(r)];
            }
    }
    return v;
}

} // namespace kugelfon
