// Kugelfon on weston's headless backend: through X11 where an X display is
// offered too; on Wayland alone there, its --fenster window leaving room for
// panels that Wayland does not report, on the four screen sizes too.
#include "fakes/testkit.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kugelfon::test;

class TestWayland : public QObject {
    Q_OBJECT
    XServer m_x{"1280x1024"};

private slots:
    // Wayland alone: a window of the layout that fits the output less 48 px,
    // frame included, never maximized; 640 x 480 is drawn smaller.
    void platform_data()
    {
        QTest::addColumn<bool>("x11");
        QTest::addColumn<QSize>("output");
        QTest::addColumn<QSize>("client");
        QTest::newRow("X11 and Wayland") << true << QSize(1920, 1080) << QSize();
        QTest::newRow("Wayland alone") << false << QSize(1920, 1080) << QSize(1024, 768);
        QTest::newRow("Wayland alone, 1024x768") << false << QSize(1024, 768) << QSize(800, 600);
        QTest::newRow("Wayland alone, 800x600") << false << QSize(800, 600) << QSize(640, 480);
        QTest::newRow("Wayland alone, 640x480") << false << QSize(640, 480) << QSize(531, 398);
        // The compositor puts the newest window in front: the hall comes first.
        QTest::newRow("Wayland alone, with the hall") << false << QSize(1920, 1080) << QSize(1024, 768);
    }
    void platform()
    {
        QFETCH(bool, x11);
        QFETCH(QSize, output);
        QFETCH(QSize, client);
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = x11 ? m_x.env() : withoutDisplay();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        QProcess weston;
        weston.setProcessEnvironment(env);
        weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        weston.start("weston", {"--backend=headless-backend.so", "--socket=kugelfon", "--idle-time=0",
                                QString("--width=%1").arg(output.width()), QString("--height=%1").arg(output.height())});
        const QString why = !weston.waitForStarted(5000)
                || !QTest::qWaitFor([&] { return QFile::exists(runtime.filePath("kugelfon")); }, 10000)
            ? "weston's headless backend does not start (Debian package weston)"
            : x11 ? m_x.why : QString();
        skipped = skipped || !why.isEmpty();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        env.insert("WAYLAND_DISPLAY", "kugelfon");
        env.insert("WAYLAND_DEBUG", "1"); // every Wayland request on stderr
        QProcess kugelfon;
        kugelfon.setProcessEnvironment(env);
        const bool hall = QByteArray(QTest::currentDataTag()).contains("hall");
        kugelfon.start(KUGELFON_EXE, hall ? QStringList{"--fenster", "--saalanzeige"} : QStringList{"--fenster"});
        const QString title = "\"" + productWithVersion() + " ";
        const QString mainTitle = "set_title(" + title + " "; // ten blanks before the notice
        QString wayland;
        const auto shown = [&] {
            wayland += kugelfon.readAllStandardError();
            if (kugelfon.state() == QProcess::NotRunning)
                return true;
            const qsizetype at = wayland.indexOf(mainTitle);
            if (!x11)
                return at >= 0 && wayland.indexOf("set_window_geometry(", at) >= 0;
            return m_x.x("xwininfo", {"-root", "-tree"}).contains(title);
        };
        const bool running = QTest::qWaitFor(shown, 30000) && kugelfon.state() == QProcess::Running;
        stop(kugelfon);
        stop(weston);
        QVERIFY2(running, qPrintable(wayland.right(2000)));
        QCOMPARE(wayland.contains("xdg_toplevel"), !x11);
        if (x11)
            return;
        QVERIFY(!wayland.contains("set_maximized"));
        const qsizetype hallAt = wayland.indexOf("set_title(" + title + "- Saalanzeige");
        QCOMPARE(hallAt >= 0 && hallAt < wayland.indexOf(mainTitle), hall);
        if (hall)
            return; // its own window's size comes between
        // The client with Qt's decoration, no more than the frame allowance.
        static const QRegularExpression size("set_window_geometry\\(\\d+, \\d+, (\\d+), (\\d+)\\)");
        const auto m = size.match(wayland, wayland.indexOf(mainTitle));
        const QSize framed(m.captured(1).toInt(), m.captured(2).toInt()), frame = framed - client;
        QVERIFY2(frame.width() >= 0 && frame.width() <= 8 && frame.height() > 0 && frame.height() <= 34
                     && framed.boundedTo(output - QSize(48, 48)) == framed,
                 qPrintable(m.captured()));
    }

public:
    bool skipped = false;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestWayland test;
    const int failed = QTest::qExec(&test, argc, argv);
    // ctest shows a run without weston or X as skipped, not as passed.
    return failed == 0 && test.skipped ? 77 : failed;
}
#include "test_wayland.moc"
