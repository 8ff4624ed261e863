#include "platform/qtscreenlist.h"

#include <QGuiApplication>
#include <QScreen>
#ifndef Q_OS_WIN
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace kugelfon {

QtScreenList::QtScreenList()
{
    auto *app = qGuiApp;
    if (!app)
        return;
    QObject::connect(app, &QGuiApplication::screenAdded, &m_context, [this](QScreen *s) {
        watch(s);
        notify();
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, &m_context, [this] { notify(); });
    QObject::connect(app, &QGuiApplication::primaryScreenChanged, &m_context, [this] { notify(); });
    for (QScreen *s : QGuiApplication::screens())
        watch(s);
}

void QtScreenList::watch(QScreen *screen)
{
    QObject::connect(screen, &QScreen::geometryChanged, &m_context, [this] { notify(); });
}

void QtScreenList::notify()
{
    // Told at once, before Qt moves the windows of a screen that went away
    // (it announces the screen first); several signals of one change are
    // the listener's to gather.
    changed();
}

QList<QRect> QtScreenList::geometries() const
{
    QList<QRect> out;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        out << primary->geometry();
    for (const QScreen *s : QGuiApplication::screens())
        if (s != primary)
            out << s->geometry();
    return out;
}

std::optional<QPoint> QtScreenList::clientOrigin(quintptr window) const
{
#ifndef Q_OS_WIN
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
    free(reply);
    return out;
#else
    (void)window;
    return std::nullopt;
#endif
}

} // namespace kugelfon
