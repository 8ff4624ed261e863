#include "fakes/fakes.h"
#include "platform/clockrandom.h"
#include "game/numberdraw.h"
#include "tickets/ticketnumbers.h"

#include <QtTest>
#include <algorithm>
#include <set>

using namespace kugelfon;

namespace {

// A clock that stands still: every reseed mixes the same value in.
class FrozenClock final : public IRandom {
public:
    explicit FrozenClock(std::uint64_t seed) : m_inner(seed) {}
    double next() override { return m_inner.next(); }
    void reseedFromClock() override { m_inner.mix(0x1234); }

private:
    ClockRandom m_inner;
};

double chiSquare(const std::vector<int> &counts)
{
    double total = 0;
    for (int c : counts)
        total += c;
    const double expected = total / counts.size();
    double chi = 0;
    for (int c : counts)
        chi += (c - expected) * (c - expected) / expected;
    return chi;
}

// Chi-square bounds at p = 0.001 for the degrees of freedom used here.
double chiBound(int df)
{
    switch (df) {
    case 4: return 18.47;
    case 5: return 20.52;
    case 6: return 22.46;
    case 7: return 24.32;
    case 8: return 26.12;
    case 9: return 27.88;
    case 74: return 112.3;
    case 89: return 130.3;
    }
    return -1;
}

} // namespace

class TestTicketNumbers : public QObject {
    Q_OBJECT
private slots:
    void blockNumbersAreDistinct_data();
    void blockNumbersAreDistinct();
    void otherPoolsStayEmpty();
    void duplicateDrawIsDrawnAgain();
    void cellsFollowTheOrderRowByRow();
    void blocksInSameClockTickDiffer();
    void shuffleIsUniform_data();
    void shuffleIsUniform();
    void freeColumnIsUniform_data();
    void freeColumnIsUniform();
    void noFreeColumnWhenOff();
};

void TestTicketNumbers::blockNumbersAreDistinct_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("90: 9 x 10 uses all") << 90 << 9 << 10;
    QTest::newRow("90: 10 x 9 uses all") << 90 << 10 << 9;
    QTest::newRow("90: 15 x 6 uses all") << 90 << 15 << 6;
    QTest::newRow("75: 15 x 5 uses all") << 75 << 15 << 5;
    QTest::newRow("75: 1 x 5") << 75 << 1 << 5;
    QTest::newRow("90: 1 x 5") << 90 << 1 << 5;
    QTest::newRow("75: 7 x 10") << 75 << 7 << 10;
}

void TestTicketNumbers::blockNumbersAreDistinct()
{
    QFETCH(int, pool);
    QFETCH(int, rows);
    QFETCH(int, columns);
    ClockRandom random(77);
    PrintSettings s;
    s.pool = pool;
    s.rows = rows;
    s.columns = columns;
    s.blocks = 3;
    TicketNumbers t;
    bool anyUnsorted = false;
    for (int round = 0; round < 50; ++round) {
        buildTicket(random, s, t);
        for (int b = 1; b <= s.blocks; ++b) {
            std::vector<int> seen;
            for (int r = 1; r <= rows; ++r)
                for (int c = 1; c <= columns; ++c)
                    seen.push_back(t.at(b, r, c));
            for (int v : seen)
                QVERIFY2(v >= 1 && v <= pool, qPrintable(QString::number(v)));
            anyUnsorted = anyUnsorted || !std::is_sorted(seen.begin(), seen.end());
            std::set<int> distinct(seen.begin(), seen.end());
            QCOMPARE(int(distinct.size()), rows * columns);
            if (rows * columns == pool)
                QCOMPARE(*distinct.rbegin(), pool);
        }
    }
    QVERIFY(anyUnsorted);
}

void TestTicketNumbers::otherPoolsStayEmpty()
{
    test::FakeRandom random;
    NumberOrder order;
    order.fill(7);
    drawOrder(random, 80, order);
    QVERIFY(std::all_of(order.begin() + 1, order.end(), [](int v) { return v == 0; }));
    QCOMPARE(random.reseeds, 1);

    drawOrder(random, 75, order);
    QCOMPARE(random.reseeds, 2);
    for (int i = 76; i <= 90; ++i)
        QCOMPARE(order[i], 0);
}

void TestTicketNumbers::duplicateDrawIsDrawnAgain()
{
    // Draws 3, 3, 3, 1, then the rest in order: the repeated 3 must be
    // replaced by the next draw that is new.
    test::FakeRandom random;
    auto draw = [](int x) { return (x - 1 + 0.5) / 75.0; };
    random.queued = {draw(3), draw(3), draw(3), draw(1)};
    for (int x = 1; x <= 75; ++x)
        random.queued.append(draw(x));
    NumberOrder order;
    drawOrder(random, 75, order);
    QCOMPARE(order[1], 3);
    QCOMPARE(order[2], 1);
    QCOMPARE(order[3], 2);
    QCOMPARE(order[4], 4);
    QCOMPARE(order[75], 75);
}

void TestTicketNumbers::cellsFollowTheOrderRowByRow()
{
    test::FakeRandom random;
    for (int x = 1; x <= 90; ++x)
        random.queued.append((x - 1 + 0.5) / 90.0);
    PrintSettings s;
    s.pool = 90;
    s.rows = 3;
    s.columns = 7;
    TicketNumbers t;
    buildTicket(random, s, t);
    QCOMPARE(t.at(1, 1, 7), 7);
    QCOMPARE(t.at(1, 2, 1), 8);
    QCOMPARE(t.at(1, 3, 7), 21);
}

void TestTicketNumbers::blocksInSameClockTickDiffer()
{
    FrozenClock random(5);
    NumberOrder first, second;
    drawOrder(random, 90, first);
    drawOrder(random, 90, second);
    QVERIFY(first != second);

    // The real clock: blocks built back to back.
    ClockRandom clock;
    PrintSettings s;
    s.pool = 75;
    s.rows = 15;
    s.columns = 5;
    s.blocks = 2;
    TicketNumbers t;
    buildTicket(clock, s, t);
    bool differ = false;
    for (int r = 1; r <= 15; ++r)
        for (int c = 1; c <= 5; ++c)
            differ = differ || t.at(1, r, c) != t.at(2, r, c);
    QVERIFY(differ);
}

void TestTicketNumbers::shuffleIsUniform_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("position");
    QTest::newRow("75, first") << 75 << 1;
    QTest::newRow("75, last") << 75 << 75;
    QTest::newRow("90, first") << 90 << 1;
    QTest::newRow("90, middle") << 90 << 45;
}

void TestTicketNumbers::shuffleIsUniform()
{
    QFETCH(int, pool);
    QFETCH(int, position);
    FrozenClock random(20260 + pool + position); // fixed seed: the outcome is repeatable
    std::vector<int> counts(pool, 0);
    NumberOrder order;
    const int rounds = pool * 400;
    for (int i = 0; i < rounds; ++i) {
        drawOrder(random, pool, order);
        ++counts[order[position] - 1];
    }
    const double chi = chiSquare(counts);
    QVERIFY2(chi < chiBound(pool - 1), qPrintable(QString::number(chi)));
    // And not suspiciously even either.
    QVERIFY2(chi > pool / 3.0, qPrintable(QString::number(chi)));
}

void TestTicketNumbers::freeColumnIsUniform_data()
{
    QTest::addColumn<int>("columns");
    for (int c = 5; c <= 10; ++c)
        QTest::newRow(qPrintable(QStringLiteral("%1 columns").arg(c))) << c;
}

void TestTicketNumbers::freeColumnIsUniform()
{
    QFETCH(int, columns);
    ClockRandom random(1000 + columns);
    std::vector<int> counts(columns, 0);
    for (int i = 0; i < 20000; ++i) {
        const int c = chooseFreeColumn(random, true, columns);
        QVERIFY(c >= 1 && c <= columns);
        ++counts[c - 1];
    }
    const double chi = chiSquare(counts);
    QVERIFY2(chi < chiBound(columns - 1), qPrintable(QString::number(chi)));
}

void TestTicketNumbers::noFreeColumnWhenOff()
{
    test::FakeRandom random;
    random.queued = {0.99, 0.5};
    QCOMPARE(chooseFreeColumn(random, false, 5), 0);
    QCOMPARE(random.queued.size(), 2); // nothing drawn
    QCOMPARE(chooseFreeColumn(random, true, 5), 5);
}

QTEST_GUILESS_MAIN(TestTicketNumbers)
#include "test_ticketnumbers.moc"
