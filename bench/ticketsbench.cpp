#include "bench/ticketsbench.h"

#include "game/numberdraw.h"

#include "platform/appinfo.h"
#include "platform/clockrandom.h"
#include "platform/printers.h"
#include "tickets/checknumber.h"
#include "tickets/ticketnumbers.h"
#include "tickets/ticketprinting.h"
#include "ui/kit/fonts.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kugelfon {

namespace {

constexpr int kTickets = 100;
constexpr int kRounds = 3;

// Every job a PDF file of its own, as a printer queue would get it.
class PdfFilePrinters final : public IPrinters {
public:
    explicit PdfFilePrinters(QString dir) : m_dir(std::move(dir)) {}
    bool answered() const override { return true; }
    void refresh(std::function<void()>) override {}
    QStringList names() const override { return {QStringLiteral("PDF")}; }
    QString defaultName() const override { return QStringLiteral("PDF"); }
    bool exists(const QString &name) const override { return name == QLatin1String("PDF"); }
    QString current() const override { return QStringLiteral("PDF"); }
    void setCurrent(const QString &) override {}
    QSizeF printableAreaMm(const QString &) const override { return {210, 297}; }
    std::unique_ptr<IPrintJob> startJob(const QString &, const QString &docName) override
    {
        return std::make_unique<Job>(m_dir + QStringLiteral("/ours-%1.pdf").arg(++m_count), docName);
    }

private:
    class Job final : public IPrintJob {
    public:
        Job(const QString &file, const QString &docName) : m_printer(QPrinter::HighResolution)
        {
            m_printer.setOutputFormat(QPrinter::PdfFormat);
            m_printer.setOutputFileName(file);
            m_printer.setDocName(docName);
        }
        QPaintDevice *device() override { return &m_printer; }
        void submit() override {}
        Answer answer(int) override
        {
            return m_printer.printerState() != QPrinter::Error ? Answer::Taken : Answer::Refused;
        }
        void withdraw() override {}

    private:
        QPrinter m_printer;
    };
    QString m_dir;
    int m_count = 0;
};

PrintSettings benchSettings()
{
    PrintSettings s;
    s.tickets = kTickets;
    s.blocks = 3;
    s.rows = 5;
    s.columns = 5;
    s.pool = 75;
    s.printer = QStringLiteral("PDF");
    return s;
}

double oursSeconds(const QString &dir, bool checkNumbers = false)
{
    PdfFilePrinters printers(dir);
    ClockRandom random;
    TicketNumbers ticket;
    PrintSettings settings = benchSettings();
    settings.checkNumbers = checkNumbers;
    QElapsedTimer t;
    t.start();
    const PrintRunResult run = printTickets(settings, printers, random, ticket);
    const double s = t.nsecsElapsed() / 1e9;
    if (!run.completed)
        std::printf("  (print run stopped after %d tickets)\n", run.handedOver);
    return s;
}

// The same pages drawn by Qt alone: positions and numbers worked out before
// the clock starts, no generator, no layout code, no printer interface.
double plainQtSeconds(const QString &dir)
{
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    const double k = probe.logicalDpiX() / 25.4;
    const QFont big = printerFont(QStringLiteral("Times New Roman"), 30, true);
    const QFont small = printerFont(QStringLiteral("Times New Roman"), 8, true);
    const QFontMetricsF bm(big, &probe);
    const QFontMetricsF sm(small, &probe);
    const QPointF titleAt((120 - bm.horizontalAdvance(appinfo::productName()) / k) * k,
                          (20 - bm.height() / k) * k + bm.ascent());
    const QPointF footerAt((105 - sm.horizontalAdvance(appinfo::webAddress()) / k) * k,
                           (278 - sm.height() / k) * k + sm.ascent());
    std::vector<QRectF> cells;
    std::vector<QPointF> textAt;
    const PrintSettings s = benchSettings();
    for (int b = 0; b < s.blocks; ++b)
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.columns; ++c) {
                const double x = 16 + 16 * c;
                const double y = 30 + b * (16 * s.rows + 14 - s.blocks) + 16 * r;
                cells.emplace_back(QPointF(x * k, y * k), QPointF((x + 16) * k, (y + 16) * k));
                textAt.emplace_back((x + 1) * k, (y + 2) * k + bm.ascent());
            }
    std::vector<QString> texts;
    for (int i = 0; i < kTickets * int(cells.size()); ++i)
        texts.push_back(QStringLiteral(" %1 ").arg(1 + i % 75));
    const QString title = appinfo::productWithVersion();
    const QString web = appinfo::webAddress();
    QPen frame(Qt::black);
    frame.setWidthF(0.4 * k);

    QElapsedTimer t;
    t.start();
    int n = 0;
    for (int page = 1; page <= kTickets; ++page) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir + QStringLiteral("/plain-%1.pdf").arg(page));
        QPainter p(&printer);
        p.setFont(big);
        p.drawText(titleAt, title);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            p.setPen(frame);
            p.drawRect(cells[i]);
            p.setPen(Qt::black);
            p.drawText(textAt[i], texts[n++]);
        }
        p.setFont(small);
        p.drawText(footerAt, web);
    }
    return t.nsecsElapsed() / 1e9;
}

// Number to ticket, for a usual ticket and the largest one a number names.
void benchCheckNumbers()
{
    const struct {
        TicketLayout layout;
        const char *what;
    } cases[] = {{{75, 3, 5, 5, true}, "3 blocks of 5 x 5, pool 75"},
                 {{90, 20, 9, 10, true}, "20 blocks of 9 x 10, pool 90"}};
    constexpr int kDecodes = 5000;
    for (const auto &c : cases) {
        const QString number = groupCheckNumber(encodeCheckNumber(c.layout, 4711, 17));
        long sum = 0;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < kDecodes; ++i)
            sum += decodeCheckNumber(number).ticket.numbers.at(1, 1, 1);
        const double us = t.nsecsElapsed() / 1e3 / kDecodes;
        volatile long keep = sum;
        (void)keep;
        std::printf("tickets: check number to ticket in %.1f us (%s; goal well under 1000 us)\n", us, c.what);
    }
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

void benchTickets()
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::printf("tickets: no temporary folder\n");
        return;
    }
    // Warm up fonts and the PDF engine once.
    plainQtSeconds(dir.path());

    std::vector<double> ours, numbered, plain;
    for (int i = 0; i < kRounds; ++i) {
        ours.push_back(oursSeconds(dir.path()));
        numbered.push_back(oursSeconds(dir.path(), true));
        plain.push_back(plainQtSeconds(dir.path()));
    }
    const double oursMedian = median(ours);
    const double plainMedian = median(plain);

    ClockRandom random;
    NumberOrder order;
    const int blocks = 100000;
    QElapsedTimer t;
    t.start();
    long sum = 0;
    for (int i = 0; i < blocks; ++i) {
        drawOrder(random, 75, order);
        sum += order[1];
    }
    const double genSeconds = t.nsecsElapsed() / 1e9;

    std::printf("tickets: %.1f tickets/s printed to PDF files (%d tickets of 3 blocks of 5 x 5, pool 75)\n",
                kTickets / oursMedian, kTickets);
    std::printf("tickets: %.1f tickets/s with check numbers\n", kTickets / median(numbered));
    volatile long keep = sum; // the shuffles must not be optimised away
    (void)keep;
    std::printf("tickets: %.0f blocks/s from the generator alone (pool 75)\n", blocks / genSeconds);
    benchCheckNumbers();
    std::printf("tickets: print run %.3f s against plain Qt %.3f s for the same pages: ratio %.2f (goal <= 1.2)\n",
                oursMedian, plainMedian, oursMedian / plainMedian);
}

} // namespace kugelfon
