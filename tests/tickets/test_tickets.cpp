// A ticket as it comes out of the printer: its numbers, where each frame and
// text lies in millimetres, and the free cells.
#include "fakes/fakeprinters.h"
#include "fakes/fakes.h"
#include "game/numberdraw.h"
#include "platform/clockrandom.h"
#include "tickets/ticketprinting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtTest>
#include <set>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

PrintSettings shape(int rows, int columns, int blocks, int pool = 90, bool freeCells = false)
{
    PrintSettings s;
    s.rows = rows;
    s.columns = columns;
    s.blocks = blocks;
    s.pool = pool;
    s.freeCells = freeCells;
    return s;
}

// One ticket built and painted on a recording page, read back in millimetres.
struct Painted {
    explicit Painted(const PrintSettings &s, quint64 seed = 3) : random(seed)
    {
        buildTicket(random, s, ticket);
        QPainter p(&page);
        paintTicket(p, ticket, s, random);
    }
    double mm(double px) const { return px / page.pxPerMm(); }
    QRectF rect(int i) const
    {
        const QRectF r = page.engine().rects.at(i);
        return {mm(r.x()), mm(r.y()), mm(r.width()), mm(r.height())};
    }
    // Top-left corner of a text: the print position it was given.
    QPointF at(const RecordedText &t) const
    {
        return {mm(t.baseline.x()), mm(t.baseline.y() - QFontMetricsF(t.font, &page).ascent())};
    }
    double width(const RecordedText &t, const QString &text) const
    {
        return mm(QFontMetricsF(t.font, &page).horizontalAdvance(text));
    }
    double height(const RecordedText &t) const { return mm(QFontMetricsF(t.font, &page).height()); }

    FakeRandom random;
    TicketNumbers ticket;
    RecordingDevice page;
};

bool near(double a, double b) { return qAbs(a - b) < 0.01; }

} // namespace

class TestTickets : public QObject {
    Q_OBJECT
private slots:
    void everyBlockTakesAFreshOrderRowByRow();
    void framesNumbersTitleAndFooter_data();
    void framesNumbersTitleAndFooter();
    void freeCellsLeaveOneEmptyFramePerRow();
};

void TestTickets::everyBlockTakesAFreshOrderRowByRow()
{
    // Each block from an order of its own (the next one drawn), distinct
    // numbers of the pool; a block as large as the pool uses all of them.
    for (const PrintSettings &s : {shape(15, 5, 3, 75), shape(9, 10, 3, 90), shape(2, 6, 2, 75)}) {
        FakeRandom random(s.pool + s.rows), replay(s.pool + s.rows);
        TicketNumbers t;
        buildTicket(random, s, t);
        for (int b = 1; b <= s.blocks; ++b) {
            NumberOrder order;
            drawOrder(replay, s.pool, order);
            std::set<int> seen;
            for (int r = 1; r <= s.rows; ++r) {
                for (int c = 1; c <= s.columns; ++c) {
                    QCOMPARE(t.at(b, r, c), order[(r - 1) * s.columns + c]);
                    seen.insert(t.at(b, r, c));
                }
            }
            QCOMPARE(int(seen.size()), s.rows * s.columns);
            QVERIFY(*seen.begin() >= 1 && *seen.rbegin() <= s.pool);
        }
    }
    // On the real clock, blocks built within the same tick still differ.
    ClockRandom clock;
    TicketNumbers t;
    buildTicket(clock, shape(15, 5, 3, 75), t);
    const auto block = [&t](int b) {
        QList<int> cells;
        for (int r = 1; r <= 15; ++r)
            for (int c = 1; c <= 5; ++c)
                cells << t.at(b, r, c);
        return cells;
    };
    QVERIFY(block(1) != block(2) && block(2) != block(3));
}

void TestTickets::framesNumbersTitleAndFooter_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("blockTops");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("right");
    QTest::newRow("1 row of 5") << 1 << 5 << QList<int>{30} << 46 << 96;
    QTest::newRow("2 blocks of 5 rows") << 5 << 5 << QList<int>{30, 122} << 202 << 96;
    QTest::newRow("11 blocks of 1 row")
        << 1 << 6 << QList<int>{30, 49, 68, 87, 106, 125, 144, 163, 182, 201, 220} << 236 << 112;
    QTest::newRow("2 blocks of 7 rows") << 7 << 10 << QList<int>{30, 154} << 266 << 176;
    QTest::newRow("4 blocks of 3 rows") << 3 << 7 << QList<int>{30, 88, 146, 204} << 252 << 128;
    QTest::newRow("16 rows") << 16 << 5 << QList<int>{30} << 286 << 96;
}

void TestTickets::framesNumbersTitleAndFooter()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QList<int>, blockTops);
    QFETCH(int, bottom);
    QFETCH(int, right);
    const int blocks = blockTops.size();
    const Painted t(shape(rows, columns, blocks));
    const auto &texts = t.page.engine().texts;
    // Title, a number in every cell, footer: nothing else goes on a ticket.
    QCOMPARE(t.page.engine().rects.size(), blocks * rows * columns);
    QCOMPARE(texts.size(), blocks * rows * columns + 2);
    QCOMPARE(t.page.engine().others, 0);
    int i = 0;
    for (int b = 1; b <= blocks; ++b) {
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= columns; ++c, ++i) {
                const QRectF cell(16 * c, blockTops[b - 1] + 16 * (r - 1), 16, 16);
                const QRectF frame = t.rect(i);
                const QString where = QStringLiteral("block %1 row %2 column %3").arg(b).arg(r).arg(c);
                QVERIFY2(near(frame.left(), cell.left()) && near(frame.top(), cell.top())
                             && near(frame.width(), 16) && near(frame.height(), 16),
                         qPrintable(where));
                const RecordedText &number = texts[i + 1];
                QCOMPARE(number.text, QStringLiteral(" %1 ").arg(t.ticket.at(b, r, c)));
                QVERIFY2(near(t.at(number).x(), cell.left() + 1) && near(t.at(number).y(), cell.top() + 2),
                         qPrintable(where));
                QCOMPARE(number.font.family(), QStringLiteral("Times New Roman"));
                QVERIFY(number.font.bold() && number.font.pointSizeF() == 30);
            }
        }
    }
    QVERIFY(near(t.rect(i - 1).bottom(), bottom) && near(t.rect(i - 1).right(), right));
    QCOMPARE(ticketGridBottomMm(rows, blocks), bottom); // the dialog's page check
    QCOMPARE(ticketGridRightMm(columns), right);

    // The product name ends at 120 mm, the title's line at 20 mm.
    const RecordedText &title = texts.first();
    QCOMPARE(title.text, QStringLiteral("Kugelfon 1.1"));
    QVERIFY(title.font.bold() && title.font.pointSizeF() == 30);
    QVERIFY(near(t.at(title).x() + t.width(title, QStringLiteral("Kugelfon")), 120));
    QVERIFY(near(t.at(title).y() + t.height(title), 20));
    // The web address ends at 105 mm, its line at 278 mm.
    const RecordedText &footer = texts.last();
    QCOMPARE(footer.text, QStringLiteral("www.kugelfon.example.org"));
    QCOMPARE(footer.font.family(), QStringLiteral("Times New Roman"));
    QVERIFY(footer.font.bold() && footer.font.pointSizeF() == 8);
    QVERIFY(near(t.at(footer).x() + t.width(footer, footer.text), 105));
    QVERIFY(near(t.at(footer).y() + t.height(footer), 278));
}

void TestTickets::freeCellsLeaveOneEmptyFramePerRow()
{
    // Every row keeps its seven frames and shows six numbers; over many rows
    // each column is the empty one about equally often.
    std::vector<int> emptyPerColumn(7, 0);
    for (int ticket = 0; ticket < 200; ++ticket) {
        const Painted t(shape(5, 7, 2, 75, true), 100 + ticket);
        QCOMPARE(t.page.engine().rects.size(), 70);
        QMap<int, QSet<int>> filled; // row top -> columns with a number
        for (const RecordedText &n : t.page.engine().texts.mid(1, t.page.engine().texts.size() - 2))
            filled[qRound(t.at(n).y() - 2)].insert(qRound(t.at(n).x() - 17) / 16);
        QCOMPARE(filled.size(), 10);
        for (const QSet<int> &columns : filled) {
            QCOMPARE(columns.size(), 6);
            for (int c = 0; c < 7; ++c)
                emptyPerColumn[c] += columns.contains(c) ? 0 : 1;
        }
    }
    // 2000 rows; chi-square with 6 degrees of freedom below 22.46 (p = 0.001).
    double chi = 0;
    for (int n : emptyPerColumn)
        chi += (n - 2000 / 7.0) * (n - 2000 / 7.0) / (2000 / 7.0);
    QVERIFY2(chi < 22.46, qPrintable(QString::number(chi)));
}

QTEST_MAIN(TestTickets)
#include "test_tickets.moc"
