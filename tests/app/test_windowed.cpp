// "--fenster": the main window in a window of the largest layout that fits
// the screen's free area; without it, only the four screen sizes.
#include "fakes/fakes.h"

#include "app/program.h"
#include "platform/qtscreenmetrics.h"
#include "ui/main/mainwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

struct Started {
    FakeServices fakes;
    std::unique_ptr<Program> program;

    Started(const QSize &screen, int panel, bool windowed, IScreenMetrics *real = nullptr)
    {
        fakes.screen.set(screen.width(), screen.height());
        fakes.screen.m.available.setHeight(screen.height() - panel);
        Services s = fakes.services();
        if (real)
            s.screen = real;
        StartOptions options;
        options.windowed = windowed;
        program = std::make_unique<Program>(s, options);
        program->start();
        fakes.timers.timer(QStringLiteral("SplashTimer"))->tick();
    }
    MainWindow *main() const { return program->mainWindow(); }
};

// Every control of the main window, where it stands.
QList<QRect> controls(const MainWindow &w)
{
    QList<QRect> out;
    for (int i = 0; i < kMainControlCount; ++i)
        out << w.findChild<QWidget *>(QString::fromLatin1(mainControlName(MainControl(i))))->geometry();
    return out;
}

} // namespace

class TestWindowed : public QObject {
    Q_OBJECT
private slots:
    void levelAndPlace_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("panel"); // taken from the bottom of the free area
        QTest::addColumn<QSize>("level");
        QTest::addColumn<QRect>("window"); // client area; empty: maximized on its own screen
        const QRect maximized;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 0 << QSize(1280, 1024) << QRect(320, 41, 1280, 1024);
        QTest::newRow("1920x1080, panel") << QSize(1920, 1080) << 40 << QSize(1024, 768) << QRect(448, 149, 1024, 768);
        QTest::newRow("1366x768") << QSize(1366, 768) << 0 << QSize(800, 600) << QRect(283, 97, 800, 600);
        QTest::newRow("1366x768, panel") << QSize(1366, 768) << 40 << QSize(800, 600) << QRect(283, 77, 800, 600);
        QTest::newRow("1536x864") << QSize(1536, 864) << 0 << QSize(1024, 768) << QRect(256, 61, 1024, 768);
        QTest::newRow("1536x864, panel") << QSize(1536, 864) << 40 << QSize(1024, 768) << QRect(256, 41, 1024, 768);
        QTest::newRow("2560x1440") << QSize(2560, 1440) << 0 << QSize(1280, 1024) << QRect(640, 221, 1280, 1024);
        QTest::newRow("2560x1440, panel") << QSize(2560, 1440) << 40 << QSize(1280, 1024) << QRect(640, 201, 1280, 1024);
        QTest::newRow("1280x800") << QSize(1280, 800) << 0 << QSize(800, 600) << QRect(240, 113, 800, 600);
        QTest::newRow("1280x800, panel") << QSize(1280, 800) << 40 << QSize(800, 600) << QRect(240, 93, 800, 600);
        QTest::newRow("1024x768: as always") << QSize(1024, 768) << 40 << QSize(1024, 768) << maximized;
        QTest::newRow("640x480: as always") << QSize(640, 480) << 0 << QSize(640, 480) << maximized;
        QTest::newRow("800x500, panel: too small") << QSize(800, 500) << 40 << QSize() << maximized;
    }
    void levelAndPlace()
    {
        QFETCH(QSize, screen);
        QFETCH(int, panel);
        QFETCH(QSize, level);
        QFETCH(QRect, window);
        const bool ownSize = level == screen;

        // Without the option only the four sizes run.
        Started plain(screen, panel, false);
        QCOMPARE(plain.fakes.app.quits, ownSize ? 0 : 1);

        Started s(screen, panel, true);
        MainWindow &w = *s.main();
        if (level.isEmpty()) {
            QCOMPARE(s.fakes.messages.shown.size(), 1);
            QCOMPARE(s.fakes.messages.shown.first().text,
                     QStringLiteral("Diese Auflösung  %1 x %2 wird nicht unterstützt.")
                         .arg(screen.width())
                         .arg(screen.height()));
            QCOMPARE(s.fakes.app.quits, 1);
            QVERIFY(!w.isVisible());
            return;
        }
        QCOMPARE(s.fakes.app.quits, 0);
        QVERIFY(w.isVisible());
        const ScreenSize &measured = s.program->settings().screen;
        QCOMPARE(QSize(measured.widthPx, measured.heightPx), level);
        if (window.isNull()) {
            QVERIFY(w.isMaximized());
        } else {
            QVERIFY(!w.isMaximized());
            QCOMPARE(w.geometry(), window);
            QVERIFY(!w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            // The splash stood on the real screen.
        }

        // Laid out exactly as on the level's own screen, number font included.
        Started own(level, 0, false);
        QCOMPARE(controls(w), controls(*own.main()));
        for (Started *run : {&s, &own}) {
            run->program->caller()->newGame();
            run->program->caller()->pressStep();
        }
        auto *display = w.findChild<QLabel *>(QStringLiteral("lblZahlenfeld"));
        auto *ownDisplay = own.main()->findChild<QLabel *>(QStringLiteral("lblZahlenfeld"));
        QCOMPARE(display->font().pixelSize(), ownDisplay->font().pixelSize());
    }

    // On the offscreen screen the test runs on, measured as the program does,
    // in the desktop's logical pixels.
    void realScreen()
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        QtScreenMetrics real;
        Started s(screen->size(), 0, true, &real);
        QVERIFY(s.main()->isVisible());
        QCOMPARE(s.main()->screenLayout().level, 4);
        QCOMPARE(s.main()->size(), QSize(1280, 1024));
        QVERIFY(screen->geometry().contains(s.main()->geometry()));
    }
};

QTEST_MAIN(TestWindowed)
#include "test_windowed.moc"
