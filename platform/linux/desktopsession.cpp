#include "platform/desktopsession.h"

#include <QGuiApplication>
#include <QStandardPaths>

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

void allowToFront(qint64)
{
    // The window manager decides alone.
}

} // namespace kugelfon::desktopsession
