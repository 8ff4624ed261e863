#include "helpers.h"

#include "app/program.h"
#include "app/splash.h"
#include "platform/qtresources.h"
#include "platform/qttimer.h"

#include <QElapsedTimer>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

// Notes when each recording began on the real clock.
class TimedSound final : public ISoundOutput {
public:
    void playWave(const QByteArray &image) override
    {
        images.append(image);
        at.append(clock.elapsed());
    }
    QElapsedTimer clock;
    QList<QByteArray> images;
    QList<qint64> at;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void order()
    {
        FakeServices fakes;
        Program program(fakes.services());
        program.start();

        // The splash waits 1500 ms for its timer before the main window comes.
        QPointer<SplashWindow> splash = program.splash();
        QVERIFY(splash && splash->isVisible());
        FakeTimer *timer = fakes.timers.timer(QStringLiteral("SplashTimer"));
        QCOMPARE(timer->interval(), 1500);
        QVERIFY(timer->isEnabled());
        QCOMPARE(label(*splash, "lblVersion")->text(), QStringLiteral("Version 1.1"));
        // 495 x 305 inside a fixed single black border.
        QCOMPARE(splash->size(), QSize(497, 307));
        const QImage shot = splash->grab().toImage();
        for (const QPoint corner : {QPoint(0, 0), QPoint(496, 306), QPoint(300, 0), QPoint(0, 200)})
            QCOMPARE(shot.pixelColor(corner), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(480, 20), QColor(0, 255, 255)); // the logo
        QVERIFY(label(*splash, "lblCompany")->text().contains(QLatin1Char('\n')));
        // The system it runs on, not a fixed name.
        QCOMPARE(label(*splash, "lblPlatform1")->text(), QSysInfo::prettyProductName());

        // A click or a key on the splash does not shorten the wait.
        QTest::mouseClick(splash, Qt::LeftButton);
        QTest::keyClick(splash, Qt::Key_Escape);
        QVERIFY(!program.mainWindow());

        QVERIFY(timer->tick());
        QVERIFY(!timer->isEnabled()); // fires once
        QVERIFY(program.mainWindow() && program.mainWindow()->isVisible());
        QVERIFY(program.checkSheet() && !program.checkSheet()->isVisible());
        QCOMPARE(program.settings().screen.widthPx, 1280);
        QTRY_VERIFY(!splash); // destroyed
    }

    void unsupportedScreenEndsTheProgram()
    {
        FakeServices fakes;
        fakes.screen.set(1152, 864);
        Program program(fakes.services());
        program.start();
        fakes.timers.timer(QStringLiteral("SplashTimer"))->tick();
        QVERIFY(!program.splash() || !program.splash()->isVisible());
        QCOMPARE(fakes.messages.shown.size(), 1);
        QCOMPARE(fakes.messages.shown.first().text,
                 QString::fromUtf8("Diese Auflösung  1152 x 864 wird nicht unterstützt."));
        QCOMPARE(fakes.app.quits, 1);
        QVERIFY(!program.mainWindow()->isVisible());
    }

    // On the real clock: the main window 1500 ms after start, then numbers
    // about a second apart at an interval of 1 s, and none during a pause.
    void realClock()
    {
        FakeServices fakes;
        QtTimerFactory timers;
        QtResources resources;
        TimedSound sound;
        Services services = fakes.services();
        services.timers = &timers;
        services.resources = &resources;
        services.sound = &sound;
        Program program(services);
        QElapsedTimer clock;
        clock.start();
        program.start();
        QVERIFY(!program.mainWindow());
        QTRY_VERIFY_WITH_TIMEOUT(program.mainWindow() && program.mainWindow()->isVisible(), 5000);
        QVERIFY2(clock.elapsed() >= 1490 && clock.elapsed() < 4000,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(resources.picture(QStringLiteral("splash-logo")).size(), QSize(133, 305));

        MainWindow &w = *program.mainWindow();
        w.findChild<QAction *>(QStringLiteral("mnuNew"))->trigger();
        w.findChild<QAction *>(QStringLiteral("mnuManuellSec"))->trigger();
        click(*w.intervalDialog(), QStringLiteral("cmdZurück")); // 1 s, as the slider opens
        sound.clock.start();
        click(w, QStringLiteral("cmdWeiter"));
        QTRY_VERIFY_WITH_TIMEOUT(sound.at.size() >= 2, 6000);
        const Caller &caller = *program.caller();
        for (int i = 0; i < 2; ++i) {
            const qint64 gap = sound.at[i] - (i ? sound.at[i - 1] : 0);
            QVERIFY2(gap >= 500 && gap <= 3000, qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
            QCOMPARE(sound.images[i], resources.recording(10001 + caller.order()[size_t(i + 1)]));
        }
        click(w, QStringLiteral("cmdWeiter")); // "Pause"
        const int shown = caller.count();
        QTest::qWait(1200);
        QCOMPARE(caller.count(), shown);
        QCOMPARE(program.checkSheet()->shownNumbers().size(), shown);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
