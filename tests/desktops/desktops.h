#pragma once

// Private desktops for the suites that run the program as a user would: an X
// server, with openbox and RandR monitors where asked, and a headless weston.
// Each picks its own display or socket, so that suites run side by side.

#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <QtTest>

namespace kugelfon::test {

// The status of a suite: 77, skipped to ctest, if a desktop could not start
// and nothing failed.
int skippedWithoutDesktop(int failed);

// QTEST_MAIN for the suites on private desktops.
#define KUGELFON_DESKTOP_TEST_MAIN(TestObject) \
    int main(int argc, char *argv[]) \
    { \
        QTEST_MAIN_SETUP() \
        TestObject tc; \
        QTEST_SET_MAIN_SOURCE_PATH \
        return kugelfon::test::skippedWithoutDesktop(QTest::qExec(&tc, argc, argv)); \
    }

// One X screen of `size`, asked through the X tools `tools`, which must be
// installed; `why` says why there is none.
struct XSession {
    enum Desktop { Bare, Openbox };
    XSession(QSize size, const QStringList &tools, Desktop desktop = Bare);
    ~XSession();
    QProcessEnvironment env() const;
    // A tool's output on this display; null when it fails.
    QString x(const QString &program, const QStringList &args) const;
    // Starts `program` on this display, its output dropped.
    void start(QProcess &p, const QString &program, const QStringList &args = {}) const;
    // A RandR monitor over `r` (the primary one on the screen's output), or none of that name.
    void plug(const QString &name, const QRect &r, bool primary = false) const;
    void unplug(const QString &name) const { x("xrandr", {"--delmonitor", name}); }
    // The first window whose title matches, as a decimal id.
    QString window(const QString &title) const { return x("xdotool", {"search", "--name", title}).section('\n', 0, 0); }
    // A window's client area on the desktop, empty while unmapped; its frame.
    QRect where(const QString &id) const;
    QMargins frame(const QString &id) const;
    // The window ids a root property names, in decimal: the active window, or the stacking, bottom first.
    QStringList root(const char *property) const;

    QString why, display;
    QProcess xvfb, wm;
};

// A weston on its headless backend with one output of `size`; `env` is
// `base` with its Wayland display, for its clients (DISPLAY in `base` for a
// desktop that offers X11 too).
struct Weston {
    Weston(QSize size, const QProcessEnvironment &base);
    ~Weston();

    QString why;
    QProcessEnvironment env;
    QTemporaryDir runtime;
    QProcess weston;
};

} // namespace kugelfon::test
