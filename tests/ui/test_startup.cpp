#include "helpers.h"

#include "app/program.h"
#include "app/splash.h"
#include "platform/qtresources.h"
#include "platform/qttimer.h"

#include <QElapsedTimer>

using namespace kugelfon;
using namespace kugelfon::test;

class TestStartup : public QObject {
    Q_OBJECT
private slots:

    void order()
    {
        FakeServices fakes;
        Program program(fakes.services());
        program.start();

        // The store exists before the splash window is visible, and the
        // splash waits 1500 ms for its timer.
        QPointer<SplashWindow> splash = program.splash();
        QVERIFY(splash && splash->isVisible());
        FakeTimer *timer = fakes.timers.timer(QStringLiteral("SplashTimer"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 1500);
        QVERIFY(timer->isEnabled());
        QCOMPARE(label(*splash, "lblVersion")->text(), QStringLiteral("Version 1.1"));
        QCOMPARE(label(*splash, "lblProductName1")->text(), QStringLiteral("Kugelfon"));
        QVERIFY(label(*splash, "lblCompany")->text().contains(QLatin1Char('\n')));
        // 495 x 305 inside a fixed single border.
        QCOMPARE(splash->size(), QSize(497, 307));
        const QImage shot = splash->grab().toImage();
        for (const QPoint corner : {QPoint(0, 0), QPoint(496, 306), QPoint(300, 0), QPoint(0, 200)})
            QCOMPARE(shot.pixelColor(corner), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(480, 20), QColor(0, 255, 255));
        // The system it runs on, not a fixed name.
        QCOMPARE(label(*splash, "lblPlatform1")->text(), QSysInfo::prettyProductName());
        QVERIFY(!program.mainWindow());

        // A click on the splash does not shorten the wait.
        QTest::mouseClick(splash, Qt::LeftButton);
        QTest::keyClick(splash, Qt::Key_Escape);
        QVERIFY(!program.mainWindow());

        QVERIFY(timer->tick());
        QVERIFY(!timer->isEnabled()); // fires once
        MainWindow *main = program.mainWindow();
        QVERIFY(main);
        QVERIFY(main->isVisible());
        QVERIFY(program.checkSheet() && !program.checkSheet()->isVisible());
        QCOMPARE(qint16(program.settings().pool), qint16(1));
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
        MainWindow *main = program.mainWindow();
        QVERIFY(main);
        // Splash gone and sheet loaded before the refusal.
        QVERIFY(!program.splash() || !program.splash()->isVisible());
        QCOMPARE(fakes.messages.shown.size(), 1);
        QCOMPARE(fakes.messages.shown.first().text,
                 QString::fromUtf8("Diese Auflösung  1152 x 864 wird nicht unterstützt."));
        QCOMPARE(fakes.app.quits, 1);
        QVERIFY(!main->isVisible());
    }

    void realTimerOpensTheMainWindowAfter1500ms()
    {
        FakeServices fakes;
        QtTimerFactory timers;
        QtResources resources;
        Services services = fakes.services();
        services.timers = &timers;
        services.resources = &resources;
        Program program(services);
        QElapsedTimer clock;
        clock.start();
        program.start();
        QVERIFY(!program.mainWindow());
        QTRY_VERIFY_WITH_TIMEOUT(program.mainWindow() && program.mainWindow()->isVisible(), 5000);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 1490, qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < 4000, qPrintable(QString::number(elapsed)));
        // The built-in logo is on the splash.
        QVERIFY(!resources.picture(QStringLiteral("splash-logo")).isNull());
        QCOMPARE(resources.picture(QStringLiteral("splash-logo")).size(), QSize(133, 305));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
