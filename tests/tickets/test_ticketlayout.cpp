#include "fakes/fakeprinters.h"
#include "fakes/fakes.h"
#include "platform/appinfo.h"
#include "tickets/ticketprinting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtTest>

using namespace kugelfon;
using test::RecordingDevice;

namespace {

// One ticket painted on a recording page; everything in millimetres.
struct Painted {
    explicit Painted(const PrintSettings &s, quint64 seed = 3) : random(seed)
    {
        buildTicket(random, s, ticket);
        QPainter p(&page);
        paintTicket(p, ticket, s, random);
    }
    double mm(double px) const { return px / page.pxPerMm(); }
    QRectF rectMm(int i) const
    {
        const QRectF r = page.engine().rects.at(i);
        return QRectF(mm(r.left()), mm(r.top()), mm(r.width()), mm(r.height()));
    }
    // Top-left corner of a text in millimetres, as the print position was set.
    QPointF textTopLeftMm(const test::RecordedText &t) const
    {
        const QFontMetricsF fm(t.font, &page);
        return {mm(t.baseline.x()), mm(t.baseline.y() - fm.ascent())};
    }
    // The texts that are cell numbers.
    QList<test::RecordedText> numbers() const
    {
        QList<test::RecordedText> out;
        for (const auto &t : page.engine().texts)
            if (t.font.pointSizeF() == 30 && t.text != appinfo::productWithVersion())
                out.append(t);
        return out;
    }

    test::FakeRandom random;
    TicketNumbers ticket;
    RecordingDevice page;
};

PrintSettings shape(int rows, int columns, int blocks, bool freeCells = false, int pool = 90)
{
    PrintSettings s;
    s.rows = rows;
    s.columns = columns;
    s.blocks = blocks;
    s.freeCells = freeCells;
    s.pool = pool;
    return s;
}

} // namespace

class TestTicketLayout : public QObject {
    Q_OBJECT
private slots:
    void oneRowOfFiveCells();
    void blockPositions_data();
    void blockPositions();
    void titleAndFooter();
    void freeCellsLeaveOneEmptyFramePerRow();
    void freeCellsMoveAround();
    void printRunMakesOneJobPerTicket();
    void printRunStopsAtFailure_data();
    void printRunStopsAtFailure();
};

void TestTicketLayout::oneRowOfFiveCells()
{
    const Painted t(shape(1, 5, 1, false, 75));
    const auto &rects = t.page.engine().rects;
    QCOMPARE(rects.size(), 5);
    for (int c = 0; c < 5; ++c) {
        const QRectF r = t.rectMm(c);
        QCOMPARE(qRound(r.left() * 100), (16 + 16 * c) * 100);
        QCOMPARE(qRound(r.right() * 100), (32 + 16 * c) * 100);
        QCOMPARE(qRound(r.top() * 100), 3000);
        QCOMPARE(qRound(r.bottom() * 100), 4600);
    }
    const auto numbers = t.numbers();
    QCOMPARE(numbers.size(), 5);
    for (int c = 0; c < 5; ++c) {
        const QPointF at = t.textTopLeftMm(numbers[c]);
        QVERIFY2(qAbs(at.x() - (17 + 16 * c)) < 0.01, qPrintable(QString::number(at.x())));
        QVERIFY2(qAbs(at.y() - 32) < 0.01, qPrintable(QString::number(at.y())));
        QCOMPARE(numbers[c].text, QStringLiteral(" %1 ").arg(t.ticket.at(1, 1, c + 1)));
        QCOMPARE(numbers[c].font.family(), QStringLiteral("Times New Roman"));
        QVERIFY(numbers[c].font.bold());
    }
    QCOMPARE(t.page.engine().others, 0);
    // Title, five numbers, footer: nothing else goes on a ticket.
    QCOMPARE(t.page.engine().texts.size(), 7);
}

void TestTicketLayout::blockPositions_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QList<int>>("blockTops");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("right");
    QTest::newRow("2 blocks of 5 rows") << 5 << 5 << 2 << QList<int>{30, 122} << 202 << 96;
    QTest::newRow("11 blocks of 1 row")
        << 1 << 6 << 11 << QList<int>{30, 49, 68, 87, 106, 125, 144, 163, 182, 201, 220} << 236
        << 112;
    QTest::newRow("2 blocks of 7 rows") << 7 << 10 << 2 << QList<int>{30, 154} << 266 << 176;
    QTest::newRow("4 blocks of 3 rows") << 3 << 7 << 4 << QList<int>{30, 88, 146, 204} << 252 << 128;
    QTest::newRow("15 rows") << 15 << 6 << 1 << QList<int>{30} << 270 << 112;
    QTest::newRow("16 rows") << 16 << 5 << 1 << QList<int>{30} << 286 << 96;
}

void TestTicketLayout::blockPositions()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, blocks);
    QFETCH(QList<int>, blockTops);
    QFETCH(int, bottom);
    QFETCH(int, right);
    const Painted t(shape(rows, columns, blocks));
    const int perBlock = rows * columns;
    QCOMPARE(t.page.engine().rects.size(), perBlock * blocks);
    double lowest = 0;
    double rightmost = 0;
    for (int b = 0; b < blocks; ++b) {
        const QRectF first = t.rectMm(b * perBlock);
        QCOMPARE(qRound(first.top()), blockTops[b]);
        QCOMPARE(qRound(first.left()), 16);
        for (int i = 0; i < perBlock; ++i) {
            const QRectF r = t.rectMm(b * perBlock + i);
            QCOMPARE(qRound(r.top()), blockTops[b] + 16 * (i / columns));
            QCOMPARE(qRound(r.height()), 16);
            lowest = std::max(lowest, r.bottom());
            rightmost = std::max(rightmost, r.right());
        }
    }
    QCOMPARE(qRound(lowest), bottom);
    QCOMPARE(qRound(rightmost), right);
    // The page check of the dialog uses the same extents.
    QCOMPARE(ticketGridBottomMm(rows, blocks), bottom);
    QCOMPARE(ticketGridRightMm(columns), right);
}

void TestTicketLayout::titleAndFooter()
{
    const Painted t(shape(1, 5, 1));
    const auto &texts = t.page.engine().texts;
    const test::RecordedText title = texts.first();
    const test::RecordedText footer = texts.last();

    QCOMPARE(title.text, QStringLiteral("Kugelfon 1.1"));
    QCOMPARE(title.font.pointSizeF(), 30.0);
    QVERIFY(title.font.bold());
    const QFontMetricsF big(title.font, &t.page);
    const QPointF titleAt = t.textTopLeftMm(title);
    const double nameEnd = titleAt.x() + t.mm(big.horizontalAdvance(QStringLiteral("Kugelfon")));
    QVERIFY2(qAbs(nameEnd - 120) < 0.01, qPrintable(QString::number(nameEnd)));
    QVERIFY2(qAbs(titleAt.y() + t.mm(big.height()) - 20) < 0.01, qPrintable(QString::number(titleAt.y())));
    QVERIFY(titleAt.x() > 60 && titleAt.x() < 100);

    QCOMPARE(footer.text, appinfo::webAddress());
    QCOMPARE(footer.font.pointSizeF(), 8.0);
    QVERIFY(footer.font.bold());
    QCOMPARE(footer.font.family(), QStringLiteral("Times New Roman"));
    const QFontMetricsF small(footer.font, &t.page);
    const QPointF footerAt = t.textTopLeftMm(footer);
    QVERIFY(qAbs(footerAt.x() + t.mm(small.horizontalAdvance(footer.text)) - 105) < 0.01);
    QVERIFY(qAbs(footerAt.y() + t.mm(small.height()) - 278) < 0.01);
}

void TestTicketLayout::freeCellsLeaveOneEmptyFramePerRow()
{
    const Painted t(shape(5, 5, 3, true, 75));
    QCOMPARE(t.page.engine().rects.size(), 75);
    // Per row (by its top edge): five frames, four numbers.
    QMap<int, int> numbersPerRow;
    for (const auto &n : t.numbers())
        ++numbersPerRow[qRound(t.textTopLeftMm(n).y() - 2)];
    QCOMPARE(numbersPerRow.size(), 15);
    for (int count : numbersPerRow)
        QCOMPARE(count, 4);
}

void TestTicketLayout::freeCellsMoveAround()
{
    // Over many printed rows every column is left empty about equally often.
    std::vector<int> emptyPerColumn(5, 0);
    for (int ticket = 0; ticket < 200; ++ticket) {
        const Painted t(shape(5, 5, 2, true, 75), 100 + ticket);
        QMap<int, QSet<int>> filled; // row top -> columns with a number
        for (const auto &n : t.numbers()) {
            const QPointF at = t.textTopLeftMm(n);
            filled[qRound(at.y() - 2)].insert(qRound(at.x() - 17) / 16);
        }
        for (const QSet<int> &cols : filled)
            for (int c = 0; c < 5; ++c)
                if (!cols.contains(c))
                    ++emptyPerColumn[c];
    }
    // 2000 rows; chi-square with 4 degrees of freedom below 18.47 (p = 0.001).
    double chi = 0;
    for (int c : emptyPerColumn)
        chi += (c - 400.0) * (c - 400.0) / 400.0;
    QVERIFY2(chi < 18.47, qPrintable(QString::number(chi)));
}

void TestTicketLayout::printRunMakesOneJobPerTicket()
{
    test::FakePrinters printers({QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("A"));
    test::FakeRandom random;
    PrintSettings s = shape(2, 6, 2);
    s.tickets = 3;
    s.printer = QStringLiteral("B");
    TicketNumbers last;
    const PrintRunResult run = printTickets(s, printers, random, last);
    QVERIFY(run.completed);
    QCOMPARE(run.printed, 3);
    QCOMPARE(printers.jobs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const test::FakeJob &job = printers.jobs[i];
        QCOMPARE(job.printer, QStringLiteral("B"));
        QCOMPARE(job.docName, QStringLiteral("Kugelfon 1.1 Spielschein %1 von 3").arg(i + 1));
        QVERIFY(job.finished);
        QCOMPARE(job.page->engine().sessions, 1);
        QCOMPARE(job.page->engine().rects.size(), 24);
    }
    // The last job shows the numbers that stay behind.
    const auto &texts = printers.jobs[2].page->engine().texts;
    QCOMPARE(texts[1].text, QStringLiteral(" %1 ").arg(last.at(1, 1, 1)));
    QCOMPARE(texts[24].text, QStringLiteral(" %1 ").arg(last.at(2, 2, 6)));
}

void TestTicketLayout::printRunStopsAtFailure_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("printed");
    QTest::newRow("printer vanishes at 3") << "vanish" << 3 << 2;
    QTest::newRow("job refused at 1") << "refuse" << 1 << 0;
    QTest::newRow("begin fails at 4") << "begin" << 4 << 3;
}

void TestTicketLayout::printRunStopsAtFailure()
{
    QFETCH(QString, failure);
    QFETCH(int, at);
    QFETCH(int, printed);
    test::FakePrinters printers({QStringLiteral("A")}, QStringLiteral("A"));
    if (failure == "vanish")
        printers.vanishAtJob = at;
    else if (failure == "refuse")
        printers.refuseAtJob = at;
    else
        printers.beginFailsAtJob = at;
    test::FakeRandom random;
    PrintSettings s = shape(1, 5, 1);
    s.tickets = 6;
    s.printer = QStringLiteral("A");
    TicketNumbers last;
    const PrintRunResult run = printTickets(s, printers, random, last);
    QVERIFY(!run.completed);
    QCOMPARE(run.printed, printed);
    // Nothing was started after the failing ticket.
    QVERIFY(printers.jobs.size() <= at);
}

QTEST_MAIN(TestTicketLayout)
#include "test_ticketlayout.moc"
