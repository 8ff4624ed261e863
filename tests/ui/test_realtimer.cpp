// One short automatic game on the real timer at 1 second: numbers come about
// a second apart, and a pause stops them.
#include "fakes/fakes.h"
#include "game/sharedstore.h"
#include "platform/qttimer.h"
#include "ui/interval/intervaldialog.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

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
    void cleanup() { destroyIntern(); }
    void oneSecondSteps();
};

void TestRealTimer::oneSecondSteps()
{
    destroyIntern();
    FakeServices f;
    QtTimerFactory timers;
    TimedSound sound;
    Services s = f.services();
    s.timers = &timers;
    s.sound = &sound;
    MainWindow w(s);
    QVERIFY(w.Form_Load());
    w.show();
    w.findChild<QAction *>(QStringLiteral("mnuNew"))->trigger();

    // 1 second from the dialog: the slider opens at 1, take it as it is.
    w.findChild<QAction *>(QStringLiteral("mnuManuellSec"))->trigger();
    QVERIFY(w.intervalDialog());
    QTest::mouseClick(w.intervalDialog()->findChild<QPushButton *>(QStringLiteral("cmdZurück")),
                      Qt::LeftButton);
    QCOMPARE(double(frmIntern().ZahlenInterval), 1.0);

    auto *weiter = w.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    QCOMPARE(weiter->text(), QStringLiteral("Start"));
    sound.clock.start();
    QTest::mouseClick(weiter, Qt::LeftButton);
    QCOMPARE(weiter->text(), QStringLiteral("Stop"));
    QCOMPARE(w.autoTimer().interval(), 1000);

    QTRY_VERIFY_WITH_TIMEOUT(sound.ids.size() >= 3, 10000);
    qint64 previous = 0; // the press of "Start"
    for (int i = 0; i < 3; ++i) {
        const qint64 gap = sound.at[i] - previous;
        QVERIFY2(gap >= 500 && gap <= 3000,
                 qPrintable(QStringLiteral("gap %1: %2 ms").arg(i).arg(gap)));
        previous = sound.at[i];
        QCOMPARE(sound.ids[i], 10001 + w.game().Zahlenfolge[size_t(i + 1)]);
    }
    QVERIFY(w.game().MerkerZahl >= 3);

    // A pause stops the numbers.
    QTest::mouseClick(weiter, Qt::LeftButton);
    QCOMPARE(weiter->text(), QStringLiteral("Pause"));
    const int shown = w.game().MerkerZahl;
    QTest::qWait(1500);
    QCOMPARE(int(w.game().MerkerZahl), shown);
    QCOMPARE(w.frmKontrolle().shownNumbers().size(), shown);
}

QTEST_MAIN(TestRealTimer)
#include "test_realtimer.moc"
