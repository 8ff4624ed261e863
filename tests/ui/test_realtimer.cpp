// One short automatic game on the real timer at 1 second: numbers come about
// a second apart, and a pause stops them.
#include "helpers.h"

#include "platform/qttimer.h"
#include "ui/interval/intervaldialog.h"

#include <QElapsedTimer>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

class TimedSound final : public ISoundOutput {
public:
    void playWave(const QByteArray &image) override
    {
        ids.append(FakeResources::idOf(image));
        at.append(clock.elapsed());
    }
    QElapsedTimer clock;
    QList<int> ids;
    QList<qint64> at;
};

} // namespace

class TestRealTimer : public QObject {
    Q_OBJECT
private slots:
    void oneSecondSteps();
};

void TestRealTimer::oneSecondSteps()
{
    QtTimerFactory timers;
    TimedSound sound;
    Harness h([&](Services &s) {
        s.timers = &timers;
        s.sound = &sound;
    });
    QVERIFY(h.loaded);
    MainWindow &w = h.w();
    h.trigger(QStringLiteral("mnuNew"));

    // 1 second from the dialog: the slider opens at 1, take it as it is.
    h.trigger(QStringLiteral("mnuManuellSec"));
    QVERIFY(w.intervalDialog());
    click(*w.intervalDialog(), QStringLiteral("cmdZurück"));
    QCOMPARE(double(h.settings.intervalSeconds), 1.0);

    QCOMPARE(h.caption(), QStringLiteral("Start"));
    sound.clock.start();
    h.press();
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QCOMPARE(h.caller->autoTimer().interval(), 1000);

    QTRY_VERIFY_WITH_TIMEOUT(sound.ids.size() >= 3, 10000);
    qint64 previous = 0; // the press of "Start"
    for (int i = 0; i < 3; ++i) {
        const qint64 gap = sound.at[i] - previous;
        QVERIFY2(gap >= 500 && gap <= 3000,
                 qPrintable(QStringLiteral("gap %1: %2 ms").arg(i).arg(gap)));
        previous = sound.at[i];
        QCOMPARE(sound.ids[i], 10001 + h.order(i + 1));
    }
    QVERIFY(h.merker() >= 3);

    // A pause stops the numbers.
    h.press();
    QCOMPARE(h.caption(), QStringLiteral("Pause"));
    const int shown = h.merker();
    QTest::qWait(1500);
    QCOMPARE(h.merker(), shown);
    QCOMPARE(h.shown().size(), shown);
}

QTEST_MAIN(TestRealTimer)
#include "test_realtimer.moc"
