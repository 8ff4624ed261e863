#include "platform/desktopsession.h"

#include <QGuiApplication>
#include <QStandardPaths>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace kugelfon::desktopsession {

QString folder()
{
    // $XDG_RUNTIME_DIR: the user's alone, and emptied when the session ends.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString key()
{
    // The display the windows go to; the screen part of ":0.0" is the same display.
    const QString platform = QGuiApplication::platformName();
    QString display;
    if (platform == QLatin1String("xcb")) {
        display = qEnvironmentVariable("DISPLAY");
        const qsizetype screen = display.indexOf(QLatin1Char('.'), display.lastIndexOf(QLatin1Char(':')));
        if (screen > 0)
            display.truncate(screen);
    } else if (platform.startsWith(QLatin1String("wayland"))) {
        display = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    }
    return platform + display;
}

std::optional<QPoint> windowOrigin(quintptr window)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c || !window)
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_translate_coordinates_reply_t *reply = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, xcb_window_t(window), root, 0, 0), nullptr);
    if (!reply)
        return std::nullopt;
    const QPoint out(reply->dst_x, reply->dst_y);
    std::free(reply);
    return out;
}

void allowToFront(qint64)
{
    // The window manager decides alone.
}

} // namespace kugelfon::desktopsession
