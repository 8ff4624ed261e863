#include "platform/qt/qtscreenlist.h"

#include <QGuiApplication>
#include <QScreen>

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

} // namespace kugelfon
