#include "fakes/fakes.h"
#include "game/numberdraw.h"
#include "platform/clockrandom.h"

#include <QtTest>
#include <algorithm>

using namespace kugelfon;

namespace {

// Entries 1..n hold 1..n once each, entries n+1..90 are 0.
bool isPoolPermutation(const NumberOrder &order, int n)
{
    std::array<int, 91> seen{};
    for (int i = 1; i <= 90; ++i) {
        const int v = order[i];
        if (i > n ? v != 0 : v < 1 || v > n || seen[v]++)
            return false;
    }
    return order[0] == 0;
}

// Chi-square of counts against an even spread.
double chiSquare(const std::vector<int> &counts, double expected)
{
    double chi = 0;
    for (int c : counts)
        chi += (c - expected) * (c - expected) / expected;
    return chi;
}

} // namespace

class TestNumberDraw : public QObject {
    Q_OBJECT
private slots:
    void everyOrderIsAPermutation()
    {
        ClockRandom random;
        NumberOrder order;
        for (int size : {90, 75, 90}) { // stale values from a bigger game must go
            for (int round = 0; round < 1000; ++round) {
                drawOrder(random, size, order);
                QVERIFY2(isPoolPermutation(order, size), qPrintable(QString::number(round)));
            }
        }
    }

    void ordersDiffer()
    {
        // Many games within the same clock tick: the reseed must not restart
        // an identical sequence.
        ClockRandom random;
        QSet<QByteArray> seen;
        NumberOrder order;
        for (int i = 0; i < 200; ++i) {
            drawOrder(random, 75, order);
            seen.insert(QByteArray(reinterpret_cast<const char *>(order.data()), sizeof(order)));
        }
        QCOMPARE(seen.size(), 200);
        // The same clock value twice in a row on one generator: new numbers.
        ClockRandom a(1), b(1);
        a.mix(12345);
        b.mix(12345);
        const double first = a.next();
        QCOMPARE(b.next(), first); // same state, same input: repeatable
        a.mix(12345);
        QVERIFY(a.next() != first);
    }

    void drawsAreUniform()
    {
        // The first entry of an order is uniform over the pool: chi-square
        // from a fixed seed with 74 degrees of freedom (1% bound ~ 106).
        std::vector<int> counts(75);
        NumberOrder order;
        test::FakeRandom fixed(42);
        for (int g = 0; g < 15000; ++g) {
            drawOrder(fixed, 75, order);
            ++counts[size_t(order[1] - 1)];
        }
        QVERIFY2(chiSquare(counts, 15000 / 75.0) < 106, "first numbers not uniform");

        // The generator itself: 100 buckets, 99 degrees of freedom (1% bound ~ 135).
        ClockRandom random(20261206);
        std::vector<int> buckets(100);
        for (int i = 0; i < 200000; ++i) {
            const double r = random.next();
            QVERIFY(r >= 0.0 && r < 1.0);
            ++buckets[size_t(r * 100)];
        }
        QVERIFY2(chiSquare(buckets, 2000) < 135, "generator not uniform");
    }

    void generatorOutsideRangeCannotCorruptTheOrder()
    {
        test::FakeRandom random;
        random.queued = {1.0, -0.5, 0.999999999, 0.0};
        NumberOrder order;
        drawOrder(random, 75, order);
        QVERIFY(isPoolPermutation(order, 75));
        QCOMPARE(order[1], qint16(75));
        QCOMPARE(order[2], qint16(1));
    }
};

QTEST_GUILESS_MAIN(TestNumberDraw)
#include "test_numberdraw.moc"
