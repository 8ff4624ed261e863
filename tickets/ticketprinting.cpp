#include "tickets/ticketprinting.h"

#include "platform/appinfo.h"
#include "platform/printers.h"
#include "platform/random.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace kugelfon {

namespace {

constexpr int kCell = 16;
constexpr int kLeft = 16;
constexpr int kFirstTop = 30;

// Millimetres to device pixels of one device.
struct MmScale {
    explicit MmScale(const QPaintDevice *d)
        : x(d->logicalDpiX() / 25.4), y(d->logicalDpiY() / 25.4) {}
    QPointF at(double mmX, double mmY) const { return {mmX * x, mmY * y}; }
    double x;
    double y;
};

// Ticket positions name the top-left corner of a text; QPainter wants the
// baseline.
void printAt(QPainter &p, const MmScale &mm, const QFontMetricsF &fm, double xMm, double yMm,
             const QString &text)
{
    p.drawText(mm.at(xMm, yMm) + QPointF(0, fm.ascent()), text);
}

} // namespace

QFont printerFont(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

int ticketRowTopMm(int block, int row, int rows, int blocks)
{
    // Each block begins 16 x rows + 14 - blocks mm below the one before.
    return kFirstTop + (block - 1) * (kFirstTop - blocks + kCell * (rows - 1)) + kCell * (row - 1);
}

int ticketColumnLeftMm(int column) { return kLeft + kCell * (column - 1); }

int ticketGridBottomMm(int rows, int blocks) { return ticketRowTopMm(blocks, rows, rows, blocks) + kCell; }

int ticketGridRightMm(int columns) { return ticketColumnLeftMm(columns) + kCell; }

namespace {

// The whole page; freeColumn(b, r) names the empty cell of a row, 0 for none,
// and a check number, when given, goes into the footer.
template <class FreeColumn>
void paintPage(QPainter &p, const TicketNumbers &ticket, const PrintSettings &s, FreeColumn freeColumn,
               const QString &checkNumber)
{
    const QPaintDevice *device = p.device();
    const MmScale mm(device);

    const QFont big = printerFont(QStringLiteral("Times New Roman"), 30, true);
    const QFontMetricsF bigMetrics(big, device);
    p.setFont(big);
    p.setPen(Qt::black);

    const QString name = appinfo::productName();
    printAt(p, mm, bigMetrics, 120 - bigMetrics.horizontalAdvance(name) / mm.x,
            20 - bigMetrics.height() / mm.y, appinfo::productWithVersion());

    QPen frame(Qt::black);
    frame.setWidthF(0.4 * mm.x);
    p.setBrush(Qt::NoBrush);

    for (int b = 1; b <= s.blocks; ++b) {
        for (int r = 1; r <= s.rows; ++r) {
            const int top = ticketRowTopMm(b, r, s.rows, s.blocks);
            const int free = freeColumn(b, r);
            for (int c = 1; c <= s.columns; ++c) {
                const int x = ticketColumnLeftMm(c);
                p.setPen(frame);
                p.drawRect(QRectF(mm.at(x, top), mm.at(x + kCell, top + kCell)));
                if (c != free) {
                    p.setPen(Qt::black);
                    printAt(p, mm, bigMetrics, x + 1, top + 2,
                            QLatin1Char(' ') + QString::number(ticket.at(b, r, c))
                                + QLatin1Char(' '));
                }
            }
        }
    }

    // The footer's line ends at 278 mm; the check number, larger to be read
    // at arm's length, starts at the grid's left edge. A wide stand-in font
    // pushes the address right rather than over the number.
    constexpr double kFooterBottom = 278;
    constexpr double kFooterGapMm = 4;
    double addressFrom = 0;
    if (!checkNumber.isEmpty()) {
        const QFont numberFont = printerFont(QStringLiteral("Times New Roman"), 10, true);
        const QFontMetricsF numberMetrics(numberFont, device);
        const QString text = checkNumberText(checkNumber);
        p.setFont(numberFont);
        printAt(p, mm, numberMetrics, kLeft, kFooterBottom - numberMetrics.height() / mm.y, text);
        addressFrom = kLeft + numberMetrics.horizontalAdvance(text) / mm.x + kFooterGapMm;
    }
    const QFont small = printerFont(QStringLiteral("Times New Roman"), 8, true);
    const QFontMetricsF smallMetrics(small, device);
    p.setFont(small);
    p.setPen(Qt::black);
    const QString web = appinfo::webAddress();
    printAt(p, mm, smallMetrics, std::max(105 - smallMetrics.horizontalAdvance(web) / mm.x, addressFrom),
            kFooterBottom - smallMetrics.height() / mm.y, web);
}

} // namespace

QString checkNumberText(const QString &digits)
{
    return QStringLiteral("Prüfnummer ") + groupCheckNumber(digits);
}

void paintTicket(QPainter &p, const TicketNumbers &ticket, const PrintSettings &s, IRandom &random)
{
    random.reseedFromClock();
    paintPage(
        p, ticket, s, [&](int, int) { return chooseFreeColumn(random, s.freeCells, s.columns); }, {});
}

void paintNumberedTicket(QPainter &p, const NumberedTicket &ticket)
{
    const TicketLayout &l = ticket.layout;
    PrintSettings s;
    s.blocks = l.blocks;
    s.rows = l.rows;
    s.columns = l.columns;
    s.pool = l.pool;
    s.freeCells = l.freeCells;
    paintPage(
        p, ticket.numbers, s, [&](int b, int r) { return int{ticket.freeColumn[b][r]}; },
        encodeCheckNumber(l, ticket.series, ticket.index));
}

QString ticketDocName(int n, int total)
{
    return appinfo::productWithVersion() + QStringLiteral(" Spielschein %1 von %2").arg(n).arg(total);
}

PrintRunResult printTickets(const PrintSettings &s, IPrinters &printers, IRandom &random,
                            TicketNumbers &ticket, const PrintProgress &goOn)
{
    // How often a wait for the print server looks whether the user stopped the run.
    constexpr int kPollMs = 40;
    PrintRunResult result;
    if (s.checkNumbers) {
        random.reseedFromClock();
        result.series = std::min(static_cast<std::uint32_t>(random.next() * kCheckNumberSeries),
                                 kCheckNumberSeries - 1);
    }
    for (int n = 1; n <= s.tickets; ++n) {
        if (goOn && !goOn(n, s.tickets)) {
            result.cancelled = true;
            return result;
        }
        std::optional<NumberedTicket> numbered;
        if (s.checkNumbers) {
            numbered = buildNumberedTicket(ticketLayout(s), result.series, n);
            ticket = numbered->numbers;
        } else {
            buildTicket(random, s, ticket);
        }
        std::unique_ptr<IPrintJob> job = printers.startJob(s.printer, ticketDocName(n, s.tickets));
        if (!job) {
            result.printerGone = true;
            return result;
        }
        QPainter painter;
        if (!painter.begin(job->device()))
            return result;
        if (numbered)
            paintNumberedTicket(painter, *numbered);
        else
            paintTicket(painter, ticket, s, random);
        if (!painter.end())
            return result;
        job->submit();
        IPrintJob::Answer answer;
        while ((answer = job->answer(kPollMs)) == IPrintJob::Answer::None) {
            if (goOn && !goOn(n, s.tickets)) {
                job->withdraw();
                result.cancelled = true;
                return result;
            }
        }
        if (answer != IPrintJob::Answer::Taken) {
            result.printerGone = answer == IPrintJob::Answer::PrinterGone;
            return result;
        }
        ++result.handedOver;
    }
    result.completed = true;
    return result;
}

} // namespace kugelfon
