#pragma once

// Private desktops for the suites that run the program as a user would: an X
// server, with openbox and RandR monitors where asked, and a headless weston.
// Each picks its own display or socket, so that suites run side by side. One
// that cannot start says why and has its suite reported skipped.

#include "fakes/testkit.h"

#include <QFile>
#include <QRect>
#include <QTemporaryDir>

namespace kugelfon::test {

// One X screen of `size`, asked through the X tools `tools`, which must be
// installed. -noreset: else it resets whenever its last client leaves.
struct XSession {
    enum Desktop { Bare, Openbox };
    QString why, display;
    QProcessEnvironment env = withoutDisplay(); // with DISPLAY once it runs
    QProcess xvfb, wm;

    XSession(QSize size, const QStringList &tools, Desktop desktop = Bare)
    {
        why = missingTools(QStringList{"Xvfb"} + tools + (desktop == Openbox ? QStringList{"openbox", "xprop"} : QStringList{}));
        if (why.isEmpty()) {
            xvfb.setStandardErrorFile(QProcess::nullDevice());
            xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", QString("%1x%2x24").arg(size.width()).arg(size.height()),
                                "+extension", "RANDR", "-nolisten", "tcp", "-noreset"});
            if (!xvfb.waitForStarted(5000) || !QTest::qWaitFor([&] { return xvfb.canReadLine(); }, 10000))
                why = "Xvfb does not start";
            env.insert("DISPLAY", display = ':' + QString::fromLatin1(xvfb.readLine()).trimmed());
        }
        if (why.isEmpty() && desktop == Openbox) {
            start(wm, "openbox");
            if (!QTest::qWaitFor([&] { return x("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains('#'); }, 5000))
                why = "openbox does not start";
        }
        g_missing = g_missing || !why.isEmpty();
    }
    ~XSession() { stop(wm), stop(xvfb); }
    // A tool's output on this display; null when it fails.
    QString x(const QString &program, const QStringList &args) const { return tool(program, args, env, 5000); }
    // Starts `program` on this display, its output dropped.
    void start(QProcess &p, const QString &program, const QStringList &args = {}) const
    {
        p.setProcessEnvironment(env);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start(program, args);
    }
    // A RandR monitor over `r`, 96 dpi (the primary one on the screen's output), or none of that name.
    void plug(const QString &name, const QRect &r, bool primary = false) const
    {
        const auto mm = [](int px) { return QString::number(qRound(px / 3.78)); };
        x("xrandr", {"--setmonitor", name, QString("%1/%2x%3/%4+%5+%6").arg(r.width()).arg(mm(r.width())).arg(r.height())
                                              .arg(mm(r.height())).arg(r.left()).arg(r.top()), primary ? "screen" : "none"});
        if (primary)
            x("xrandr", {"--output", "screen", "--primary"});
    }
    void unplug(const QString &name) const { x("xrandr", {"--delmonitor", name}); }
    // The first window whose title matches, as a decimal id.
    QString window(const QString &title) const { return x("xdotool", {"search", "--name", title}).section('\n', 0, 0); }
    // A window's client area on the desktop, empty while unmapped.
    QRect where(const QString &id) const
    {
        const QString info = x("xwininfo", {"-id", id});
        auto value = [&](const char *key) { return info.section(QLatin1String(key), 1).section('\n', 0, 0).trimmed().toInt(); };
        return !info.contains("IsViewable") ? QRect()
            : QRect(value("Absolute upper-left X:"), value("Absolute upper-left Y:"), value("Width:"), value("Height:"));
    }
    // The frame the window manager puts around a window.
    QMargins frame(const QString &id) const
    {
        const QStringList f = x("xprop", {"-id", id, "_NET_FRAME_EXTENTS"}).section('=', 1).split(','); // left, right, top, bottom
        return f.size() == 4 ? QMargins(f[0].toInt(), f[2].toInt(), f[1].toInt(), f[3].toInt()) : QMargins();
    }
    // The window ids a root property names, in decimal: the active window, or the stacking, bottom first.
    QStringList root(const char *property) const
    {
        QStringList out;
        for (const QString &id : x("xprop", {"-root", property}).section('#', 1).split(','))
            out << QString::number(id.trimmed().toULong(nullptr, 16));
        return out;
    }
};

// A weston on its headless backend with one output of `size`; `env` is
// `base` with its Wayland display, for its clients (DISPLAY in `base` for a
// desktop that offers X11 too).
struct Weston {
    QString why;
    QProcessEnvironment env;
    QTemporaryDir runtime;
    QProcess weston;

    Weston(QSize size, const QProcessEnvironment &base) : env(base)
    {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        weston.setProcessEnvironment(env);
        weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        weston.start("weston", {"--backend=headless-backend.so", "--socket=kugelfon", "--idle-time=0",
                                QString("--width=%1").arg(size.width()), QString("--height=%1").arg(size.height())});
        if (!weston.waitForStarted(5000) || !QTest::qWaitFor([&] { return QFile::exists(runtime.filePath("kugelfon")); }, 10000))
            why = "weston's headless backend does not start (Debian package weston)";
        g_missing = g_missing || !why.isEmpty();
        env.insert("WAYLAND_DISPLAY", "kugelfon");
    }
    ~Weston() { stop(weston); }
};

} // namespace kugelfon::test
