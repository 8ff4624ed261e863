// Kugelfon on weston's headless backend: through X11 where an X display is
// offered too; on Wayland alone there, its --fenster window leaving room for
// panels that Wayland does not report.
#include "fakes/testkit.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kugelfon::test;

class TestWayland : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime;
    QProcess m_weston;
    XServer m_x{"1280x1024"};

private slots:
    void initTestCase()
    {
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        m_weston.setProcessEnvironment(env);
        m_weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_weston.start("weston", {"--backend=headless-backend.so", "--socket=kugelfon", "--width=1920",
                                  "--height=1080", "--idle-time=0"});
        if (!m_weston.waitForStarted(5000)
            || !QTest::qWaitFor([&] { return QFile::exists(m_runtime.filePath("kugelfon")); }, 10000))
            QSKIP("weston's headless backend does not start (Debian package weston)");
        if (!m_x.why.isEmpty())
            QSKIP(qPrintable(m_x.why));
    }
    void cleanupTestCase() { stop(m_weston); }

    void platform_data()
    {
        QTest::addColumn<bool>("x11");
        QTest::newRow("X11 and Wayland") << true;
        QTest::newRow("Wayland alone") << false;
    }
    void platform()
    {
        QFETCH(bool, x11);
        QProcessEnvironment env = x11 ? m_x.env() : withoutDisplay();
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        env.insert("WAYLAND_DISPLAY", "kugelfon");
        env.insert("WAYLAND_DEBUG", "1"); // every Wayland request on stderr
        QProcess kugelfon;
        kugelfon.setProcessEnvironment(env);
        kugelfon.start(KUGELFON_EXE, {"--fenster"});
        const QString title = "\"" + productWithVersion() + " ";
        QString wayland;
        const auto shown = [&] {
            wayland += kugelfon.readAllStandardError();
            if (kugelfon.state() == QProcess::NotRunning)
                return true;
            const qsizetype at = wayland.indexOf("set_title(" + title);
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
        // 1280 x 1024 would be cut by a top bar on 1920 x 1080: 1024 x 768 and Qt's decoration.
        static const QRegularExpression size("set_window_geometry\\(\\d+, \\d+, (\\d+), (\\d+)\\)");
        const auto m = size.match(wayland, wayland.indexOf("set_title(" + title));
        const int width = m.captured(1).toInt(), height = m.captured(2).toInt();
        QVERIFY2(width >= 1024 && width < 1100 && height >= 768 && height < 850, qPrintable(m.captured()));
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "test_wayland.moc"
