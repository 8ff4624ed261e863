#pragma once

#include "game/numberdraw.h"
#include "tickets/checknumber.h"

#include <array>
#include <bitset>

namespace kugelfon {

// How one block of a ticket stands against the numbers called so far.
struct BlockVerdict {
    int rows = 0;
    std::array<int, kMaxRows + 1> missing{}; // printed numbers of row r not called yet
    bool rowFull(int row) const { return missing[size_t(row)] == 0; }
    bool full() const;
};

struct TicketVerdict {
    int blocks = 0;
    std::array<BlockVerdict, kMaxBlocks + 1> block{}; // indices from 1
};

// Whether the cell is printed with a number (a free cell is not).
bool printedCell(const NumberedTicket &ticket, int block, int row, int column);

// Only printed numbers count: a free cell is never missing.
TicketVerdict judgeTicket(const NumberedTicket &ticket, const std::bitset<kMaxPool + 1> &called);

} // namespace kugelfon
