#include "ui/kit/ticketpicture.h"

#include "tickets/ticketverdict.h"

#include <QPainter>

#include <algorithm>

namespace kugelfon {

TicketColours checkSheetTicketColours()
{
    return {Qt::white, QColor(64, 64, 64), kNotShown, Qt::black, kShown, Qt::black, Qt::white};
}

TicketPicture::TicketPicture(const QRect &area, const TicketLayout &layout) : m_layout(layout)
{
    const int blocks = std::max(1, layout.blocks);
    // A gap of half a cell between blocks. One under another as on paper
    // while the numbers stay readable; else as many columns of blocks as
    // give the largest cells.
    constexpr double kReadable = 24;
    double best = 0;
    for (int across = 1; across <= blocks && best < kReadable; ++across) {
        const int down = (blocks + across - 1) / across;
        const double w = across * layout.columns + (across - 1) * 0.5;
        const double h = down * layout.rows + (down - 1) * 0.5;
        const double size = std::min(area.width() / w, area.height() / h);
        if (size > best + 0.5) {
            best = size;
            m_blockColumns = across;
        }
    }
    m_cell = std::max(1, static_cast<int>(best));
    m_gap = m_cell / 2;
    const int down = (blocks + m_blockColumns - 1) / m_blockColumns;
    const QSize whole(m_blockColumns * layout.columns * m_cell + (m_blockColumns - 1) * m_gap,
                      down * layout.rows * m_cell + (down - 1) * m_gap);
    m_origin = area.topLeft() + QPoint((area.width() - whole.width()) / 2, (area.height() - whole.height()) / 2);
}

QRect TicketPicture::blockRect(int block) const
{
    const int i = block - 1;
    const int x = (i % m_blockColumns) * (m_layout.columns * m_cell + m_gap);
    const int y = (i / m_blockColumns) * (m_layout.rows * m_cell + m_gap);
    return QRect(m_origin + QPoint(x, y), QSize(m_layout.columns * m_cell, m_layout.rows * m_cell));
}

QRect TicketPicture::cell(int block, int row, int column) const
{
    const QPoint at = blockRect(block).topLeft() + QPoint((column - 1) * m_cell, (row - 1) * m_cell);
    return QRect(at, QSize(m_cell, m_cell));
}

void TicketPicture::paint(QPainter &p, const NumberedTicket &t, const std::bitset<kMaxPool + 1> &called,
                          const TicketColours &colours, const QFont &font) const
{
    QFont f = font;
    f.setPixelSize(std::max(6, m_cell * 9 / 20));
    p.setFont(f);
    for (int b = 1; b <= m_layout.blocks; ++b)
        for (int r = 1; r <= m_layout.rows; ++r)
            for (int c = 1; c <= m_layout.columns; ++c) {
                const QRect box = cell(b, r, c);
                const int n = t.numbers.at(b, r, c);
                const bool printed = printedCell(t, b, r, c);
                const bool isCalled = printed && n <= kMaxPool && called.test(size_t(n));
                p.fillRect(box, !printed ? colours.freeCell : isCalled ? colours.called : colours.open);
                p.setPen(colours.frame);
                p.drawRect(box.adjusted(0, 0, -1, -1));
                if (printed) {
                    p.setPen(isCalled ? colours.calledText : colours.openText);
                    p.drawText(box, Qt::AlignCenter, QString::number(n));
                }
            }
}

void ShownTicket::show(const NumberedTicket &ticket)
{
    m_ticket = ticket;
    emit changed();
}

void ShownTicket::clear()
{
    if (!m_ticket)
        return;
    m_ticket.reset();
    emit changed();
}

} // namespace kugelfon
