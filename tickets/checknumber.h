#pragma once

#include "tickets/ticketnumbers.h"

#include <QString>
#include <cstdint>

namespace kugelfon {

// The check number: 16 digits, read left to right as
//   1 digit   format version (1)
//   14 digits one number in mixed radix, most significant first:
//             series (5 000 000), index - 1 (500), pool 90? (2),
//             blocks - 1 (20), rows - 1 (25), columns - 1 (20), free cells? (2)
//   1 digit   Damm check digit over the 15 before it.
// The ticket is drawn from SplitMix64 seeded from version and those 14 digits,
// mapped to ranges by Lemire's multiply-and-reject, so it comes out the same
// with every compiler and standard library.
inline constexpr int kCheckNumberVersion = 1;
inline constexpr int kCheckNumberDigits = 16;
inline constexpr std::uint32_t kCheckNumberSeries = 5'000'000;

// What the number encodes besides its version.
struct TicketLayout {
    int pool = 75;     // 75 or 90
    int blocks = 1;    // 1..kMaxBlocks
    int rows = 1;      // 1..kMaxRows, rows*columns <= pool
    int columns = 5;   // 1..kMaxColumns
    bool freeCells = false;
    friend bool operator==(const TicketLayout &, const TicketLayout &) = default;
};

// A ticket rebuilt from (layout, series, index): numbers and free cells.
struct NumberedTicket {
    TicketLayout layout;
    std::uint32_t series = 0; // the print run's random series
    int index = 1;            // the ticket's place in its run, from 1
    TicketNumbers numbers;    // numbers.at(block, row, column), indices from 1
    std::int8_t freeColumn[kMaxBlocks + 1][kMaxRows + 1] = {}; // 0 = no free cell in that row
};

enum class CheckNumberError {
    None,
    NotDigits,      // letters or other signs besides digits, blanks and dashes
    WrongLength,
    WrongCheckDigit,
    UnknownVersion,
    Impossible,     // passes the check digit but names no layout the dialog admits
};

struct CheckNumberResult {
    CheckNumberError error = CheckNumberError::None;
    NumberedTicket ticket; // valid only when error == None
};

// A layout the print dialog lets through, within the limits of a ticket.
bool isPrintableLayout(const TicketLayout &layout);
// The layout a print run with these settings prints.
TicketLayout ticketLayout(const PrintSettings &settings);

// Same result with every compiler and standard library. A layout that is not
// printable, or series or index out of range, gives a ticket without numbers.
NumberedTicket buildNumberedTicket(const TicketLayout &layout, std::uint32_t series, int index);

// Digits only, check digit last; empty when the layout is not printable or
// series (below kCheckNumberSeries) or index (1..kMaxTickets) are out of range.
QString encodeCheckNumber(const TicketLayout &layout, std::uint32_t series, int index);
// Digits in groups of four or fewer, for print: "4711 0815 2342 9".
QString groupCheckNumber(const QString &digits);
// Accepts digits with blanks and dashes as typed or pasted.
CheckNumberResult decodeCheckNumber(const QString &typed);

// Damm's check digit of a string of digits; every single wrong digit and
// every swap of neighbours changes it.
int dammCheckDigit(QStringView digits);

} // namespace kugelfon
