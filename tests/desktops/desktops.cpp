#include "desktops/desktops.h"

#include "fakes/testkit.h"

#include <QFile>

namespace kugelfon::test {

namespace {
bool g_missing = false;
}

int skippedWithoutDesktop(int failed) { return failed == 0 && g_missing ? 77 : failed; }

// -noreset: else the server resets whenever its last client leaves.
XSession::XSession(QSize size, const QStringList &tools, Desktop desktop)
{
    if (const QString missing = missingTools(QStringList{"Xvfb"} + tools + (desktop == Openbox ? QStringList{"openbox", "xprop"} : QStringList{}));
        !missing.isEmpty())
        why = "not installed: " + missing;
    else {
        xvfb.setStandardErrorFile(QProcess::nullDevice());
        xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", QString("%1x%2x24").arg(size.width()).arg(size.height()),
                            "+extension", "RANDR", "-nolisten", "tcp", "-noreset"});
        if (!xvfb.waitForStarted(5000) || !QTest::qWaitFor([&] { return xvfb.canReadLine(); }, 10000))
            why = "Xvfb does not start";
        display = ':' + QString::fromLatin1(xvfb.readLine()).trimmed();
    }
    if (why.isEmpty() && desktop == Openbox) {
        start(wm, "openbox");
        if (!QTest::qWaitFor([&] { return x("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains('#'); }, 5000))
            why = "openbox does not start";
    }
    g_missing = g_missing || !why.isEmpty();
}

XSession::~XSession() { stop(wm), stop(xvfb); }

QProcessEnvironment XSession::env() const
{
    QProcessEnvironment e = withoutDisplay();
    e.insert("DISPLAY", display);
    return e;
}

QString XSession::x(const QString &program, const QStringList &args) const { return tool(program, args, env(), 5000); }

void XSession::start(QProcess &p, const QString &program, const QStringList &args) const
{
    p.setProcessEnvironment(env());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
}

// Its size in millimetres at 96 dpi.
void XSession::plug(const QString &name, const QRect &r, bool primary) const
{
    const auto mm = [](int px) { return QString::number(qRound(px / 3.78)); };
    x("xrandr", {"--setmonitor", name, QString("%1/%2x%3/%4+%5+%6").arg(r.width()).arg(mm(r.width())).arg(r.height())
                                          .arg(mm(r.height())).arg(r.left()).arg(r.top()), primary ? "screen" : "none"});
    if (primary)
        x("xrandr", {"--output", "screen", "--primary"});
}

QRect XSession::where(const QString &id) const
{
    const QString info = x("xwininfo", {"-id", id});
    auto value = [&](const char *key) { return info.section(QLatin1String(key), 1).section('\n', 0, 0).trimmed().toInt(); };
    return !info.contains("IsViewable") ? QRect()
        : QRect(value("Absolute upper-left X:"), value("Absolute upper-left Y:"), value("Width:"), value("Height:"));
}

QMargins XSession::frame(const QString &id) const
{
    const QStringList f = x("xprop", {"-id", id, "_NET_FRAME_EXTENTS"}).section('=', 1).split(','); // left, right, top, bottom
    return f.size() == 4 ? QMargins(f[0].toInt(), f[2].toInt(), f[1].toInt(), f[3].toInt()) : QMargins();
}

QStringList XSession::root(const char *property) const
{
    QStringList out;
    for (const QString &id : x("xprop", {"-root", property}).section('#', 1).split(','))
        out << QString::number(id.trimmed().toULong(nullptr, 16));
    return out;
}

Weston::Weston(QSize size, const QProcessEnvironment &base) : env(base)
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

Weston::~Weston() { stop(weston); }

} // namespace kugelfon::test
