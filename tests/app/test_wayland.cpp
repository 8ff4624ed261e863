// Kugelfon on a real Wayland compositor, weston's headless backend: with an X
// display offered as well it runs through X11, where it places its windows
// itself; on Wayland alone it runs there, its --fenster window leaving room
// for panels that Wayland does not report.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void stop(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

} // namespace

class TestWayland : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime;
    QProcess m_weston;
    QProcess m_xvfb;
    QString m_display;

private slots:
    void initTestCase()
    {
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        m_weston.setProcessEnvironment(env);
        m_weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_weston.start("weston", {"--backend=headless-backend.so", "--socket=kugelfon",
                                  "--width=1920", "--height=1080", "--idle-time=0"});
        if (!m_weston.waitForStarted(5000))
            QSKIP("weston does not start (Debian package weston)");
        if (!QTest::qWaitFor([&] { return QFile::exists(m_runtime.filePath("kugelfon")); }, 10000))
            QSKIP("weston's headless backend opens no socket");
        // Xvfb tells the display it took on the descriptor given; without
        // -noreset it would reset as each xwininfo leaves, under the program.
        m_xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                              "-noreset"});
        if (!m_xvfb.waitForStarted(5000))
            QSKIP("Xvfb does not start (Debian package xvfb)");
        if (!QTest::qWaitFor([&] { return m_xvfb.canReadLine(); }, 10000))
            QSKIP("Xvfb names no display");
        m_display = ':' + QString(m_xvfb.readLine()).trimmed();
    }
    void cleanupTestCase()
    {
        stop(m_xvfb);
        stop(m_weston);
    }

    void platform_data()
    {
        QTest::addColumn<bool>("x11");
        QTest::newRow("X11 and Wayland") << true;
        QTest::newRow("Wayland alone") << false;
    }
    void platform()
    {
        QFETCH(bool, x11);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        env.insert("WAYLAND_DISPLAY", "kugelfon");
        env.insert("WAYLAND_DEBUG", "1"); // every Wayland request on stderr
        if (x11)
            env.insert("DISPLAY", m_display);
        QProcess kugelfon;
        kugelfon.setProcessEnvironment(env);
        kugelfon.start(KUGELFON_EXE, {"--fenster"});
        QString wayland;
        const auto shown = [&] {
            wayland += kugelfon.readAllStandardError();
            if (kugelfon.state() == QProcess::NotRunning)
                return true;
            // The main window's title, then its size.
            const int title = wayland.indexOf("set_title(\"Kugelfon " KUGELFON_VERSION " ");
            if (!x11)
                return title >= 0 && wayland.indexOf("set_window_geometry(", title) >= 0;
            QProcess tree;
            tree.start("xwininfo", {"-root", "-tree", "-display", m_display});
            tree.waitForFinished(5000);
            return tree.readAllStandardOutput().contains("\"Kugelfon " KUGELFON_VERSION " ");
        };
        const bool running = QTest::qWaitFor(shown, 30000) && kugelfon.state() == QProcess::Running;
        stop(kugelfon);
        QVERIFY2(running, qPrintable(wayland.right(2000)));
        QCOMPARE(wayland.contains("xdg_toplevel"), !x11);
        if (!x11) {
            // On 1920 x 1080 the 1280 x 1024 window would be cut by a top bar.
            static const QRegularExpression size("set_window_geometry\\(\\d+, \\d+, (\\d+), (\\d+)\\)");
            const auto m = size.match(wayland, wayland.indexOf("set_title(\"Kugelfon " KUGELFON_VERSION " "));
            const QSize last(m.captured(1).toInt(), m.captured(2).toInt());
            // The 1024 x 768 layout, with the decoration Qt draws itself.
            QVERIFY2(last.width() >= 1024 && last.width() < 1100 && last.height() >= 768
                         && last.height() < 850,
                     qPrintable(QStringLiteral("%1 x %2").arg(last.width()).arg(last.height())));
        }
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "test_wayland.moc"
