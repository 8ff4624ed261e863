// Kugelfon on private desktops. On weston's headless backend: through X11
// where an X display is offered too; on Wayland alone there, its --fenster
// window leaving room for panels that Wayland does not report, on the four
// screen sizes too. Under Xvfb: with openbox and a panel, and refusing a screen.
#include "desktops/desktops.h"
#include "fakes/testkit.h"

#include <QRegularExpression>
#include <QtTest>

using namespace kugelfon::test;

class TestWayland : public QObject {
    Q_OBJECT
    XSession m_x{{1280, 1024}, {"xwininfo"}};

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
        Weston weston(output, x11 ? m_x.env : withoutDisplay());
        if (const QString why = weston.why.isEmpty() && x11 ? m_x.why : weston.why; !why.isEmpty())
            QSKIP(qPrintable(why));
        weston.env.insert("WAYLAND_DEBUG", "1"); // every Wayland request on stderr
        QProcess kugelfon;
        kugelfon.setProcessEnvironment(weston.env);
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

    // Under openbox, a panel's strut taken from the free area: the layout
    // chosen by it, the window's frame (20 px above, 5 below) inside it.
    void windowedUnderOpenbox_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("panel");
        QTest::addColumn<QSize>("client"); // empty: maximized
        QTest::newRow("1024x768, panel") << QSize(1024, 768) << 48 << QSize(800, 600);
        QTest::newRow("1024x768") << QSize(1024, 768) << 0 << QSize();
        QTest::newRow("520x418") << QSize(520, 418) << 0 << QSize(512, 384); // each fills the height exactly
        QTest::newRow("648x514") << QSize(648, 514) << 0 << QSize(640, 480);
        QTest::newRow("800x480") << QSize(800, 480) << 0 << QSize(595, 446);
    }
    void windowedUnderOpenbox()
    {
        QFETCH(QSize, screen);
        QFETCH(int, panel);
        QFETCH(QSize, client);
        XSession x(screen, {"xmessage", "xdotool", "xwininfo"}, XSession::Openbox);
        if (!x.why.isEmpty())
            QSKIP(qPrintable("No private X server with openbox: " + x.why));
        QProcess bar, kugelfon;
        x.start(bar, "xmessage", {"-name", "leiste", "Leiste"}); // the panel: a window asking for a strut
        QString id;
        QTRY_VERIFY(!(id = x.window("^leiste$")).isEmpty());
        x.x("xprop", {"-id", id, "-f", "_NET_WM_STRUT", "32c", "-set", "_NET_WM_STRUT", QString("0, 0, 0, %1").arg(panel)});
        const QRect area({0, 0}, screen - QSize(0, panel));
        QTRY_VERIFY(x.x("xprop", {"-root", "_NET_WORKAREA"}).contains(QString("= 0, 0, %1, %2,").arg(area.width()).arg(area.height())));
        x.start(kugelfon, KUGELFON_EXE, {"--fenster"});
        QTRY_VERIFY_WITH_TIMEOUT(!(id = x.x("xdotool", {"search", "--onlyvisible", "--name", "Kugelfon-Projekt"})).isEmpty(), 20000);
        QRect shown, framed; // the client on the desktop, and with the frame openbox reports
        const auto inside = [&] {
            shown = x.where(id);
            framed = x.frame(id).isNull() ? QRect() : shown.marginsAdded(x.frame(id));
            return area.contains(framed);
        };
        QTRY_VERIFY2(inside(), qPrintable(QDebug::toString(framed)));
        QCOMPARE(x.x("xprop", {"-id", id, "_NET_WM_STATE"}).contains("MAXIMIZED"), client.isEmpty());
        QVERIFY(client.isEmpty() || shown.size() == client);
        stop(kugelfon), stop(bar);
    }

    // The program itself on a screen it refuses: status 1 once its box is answered.
    void refusalEndsWithStatus1()
    {
        XSession x({1152, 864}, {"xdotool"});
        if (!x.why.isEmpty())
            QSKIP(qPrintable("No private X server: " + x.why));
        QProcess enter, kugelfon; // enter presses Enter in the box as soon as it shows
        x.start(enter, "xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Kugelfon$",
                                   "windowfocus", "--sync", "key", "Return"});
        x.start(kugelfon, KUGELFON_EXE);
        const bool ended = kugelfon.waitForFinished(20000) && kugelfon.exitStatus() == QProcess::NormalExit;
        stop(enter), stop(kugelfon);
        QVERIFY(ended);
        QCOMPARE(kugelfon.exitCode(), 1);
    }
};

KUGELFON_DESKTOP_TEST_MAIN(TestWayland)
#include "test_wayland.moc"
