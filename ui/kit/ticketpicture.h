#pragma once

#include "game/numberdraw.h"
#include "tickets/checknumber.h"
#include "ui/kit/marks.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QRect>
#include <bitset>
#include <optional>

class QPainter;

namespace kugelfon {

struct TicketColours {
    QColor background, frame, open, openText, called, calledText, freeCell;
};
// As on the check sheet, on white paper.
TicketColours checkSheetTicketColours();

// Where each cell of a ticket goes in `area`: the blocks one under another
// as printed, wrapped into columns of blocks only where the cells would get
// too small to read; centred.
class TicketPicture {
public:
    TicketPicture(const QRect &area, const TicketLayout &layout);
    QRect cell(int block, int row, int column) const;
    QRect blockRect(int block) const;
    int cellSize() const { return m_cell; }

    void paint(QPainter &p, const NumberedTicket &ticket, const std::bitset<kMaxPool + 1> &called,
               const TicketColours &colours, const QFont &font) const;

private:
    TicketLayout m_layout;
    QPoint m_origin;
    int m_cell = 0, m_gap = 0, m_blockColumns = 1;
};

// The ticket the check window shows, for the hall display to show the
// players as well; none while there is nothing to show them.
class ShownTicket final : public QObject {
    Q_OBJECT
public:
    const NumberedTicket *ticket() const { return m_ticket ? &*m_ticket : nullptr; }
    void show(const NumberedTicket &ticket);
    void clear();

signals:
    void changed();

private:
    std::optional<NumberedTicket> m_ticket;
};

} // namespace kugelfon
