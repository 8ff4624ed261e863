#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace kugelfon {

class IRandom;

inline constexpr int kMaxBlocks = 20;
inline constexpr int kMaxRows = 25;
inline constexpr int kMaxColumns = 20;
// Every ticket is a print job of its own and the run blocks the program, so a
// run stays below CUPS' default MaxJobs (500 queued jobs).
inline constexpr int kMaxTickets = 500;

// What a print run reads from the print dialog.
struct PrintSettings {
    int tickets = 1;
    int blocks = 1;
    int rows = 1;
    int columns = 5;
    int pool = 75;
    bool freeCells = false; // a random cell of each row left empty
    QString printer;
    bool checkNumbers = false; // each ticket drawn from, and printed with, its check number
};

// The numbers of one ticket by block, row and column, all indices from 1.
struct TicketNumbers {
    std::int16_t at(int block, int row, int column) const { return cells[block][row][column]; }
    std::int16_t cells[kMaxBlocks + 1][kMaxRows + 1][kMaxColumns + 1] = {};
};

// A fresh order of the pool per block; cells take it row by row.
// Needs settings within the limits (rows x columns <= pool).
void buildTicket(IRandom &random, const PrintSettings &settings, TicketNumbers &ticket);

// The column left empty in a printed row, 0 for none.
int chooseFreeColumn(IRandom &random, bool freeCells, int columns);

} // namespace kugelfon
