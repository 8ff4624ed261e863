#pragma once

#include "tickets/checknumber.h"
#include "tickets/ticketnumbers.h"

#include <QString>
#include <functional>

class QFont;
class QPainter;

namespace kugelfon {

class IPrinters;
class IRandom;

// Printed text keeps true points, sized by the printer's own resolution.
QFont printerFont(const QString &family, double points, bool bold = false);

// Top edge in millimetres of row r of block b, and left edge of a column.
int ticketRowTopMm(int block, int row, int rows, int blocks);
int ticketColumnLeftMm(int column);
// Bottom edge in millimetres of the last row of the last block.
int ticketGridBottomMm(int rows, int blocks);
// Right edge in millimetres of the last column.
int ticketGridRightMm(int columns);

// Title, grids, numbers and footer in millimetres from the
// top-left corner of the printable area of the painter's device. Reseeds the
// generator first; it draws the free columns.
void paintTicket(QPainter &painter, const TicketNumbers &ticket, const PrintSettings &settings,
                 IRandom &random);

// The same page for a ticket rebuilt from its check number: its own free
// cells, and the number in the footer left of the maker's address.
void paintNumberedTicket(QPainter &painter, const NumberedTicket &ticket);
// The footer's words for a check number: "Prüfnummer 1234 5678 9012 3456".
QString checkNumberText(const QString &digits);

// Document name of ticket n of a run.
QString ticketDocName(int n, int total);

struct PrintRunResult {
    int handedOver = 0; // tickets the print server took for the printer
    bool completed = false;
    bool cancelled = false;   // goOn said stop
    bool printerGone = false; // the server knew the printer no more
    std::uint32_t series = 0; // the run's series, with check numbers on
};

// Asked before ticket n of total is built, and every few hundredths of a
// second while the print server keeps ticket n waiting; false stops the run
// there, and a ticket without an answer is withdrawn.
using PrintProgress = std::function<bool(int n, int total)>;

// Builds and prints every ticket as a document of its own on
// settings.printer; stops at the first ticket the printer does not take.
// ticket keeps the numbers of the last ticket built. With check numbers the
// run draws one series and ticket n is buildNumberedTicket(layout, series, n).
PrintRunResult printTickets(const PrintSettings &settings, IPrinters &printers, IRandom &random,
                            TicketNumbers &ticket, const PrintProgress &goOn = {});

} // namespace kugelfon
