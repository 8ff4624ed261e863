#include "platform/qtscreenlist.h"

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
        post();
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, &m_context, [this] { post(); });
    QObject::connect(app, &QGuiApplication::primaryScreenChanged, &m_context, [this] { post(); });
    for (QScreen *s : QGuiApplication::screens())
        watch(s);
}

void QtScreenList::watch(QScreen *screen)
{
    QObject::connect(screen, &QScreen::geometryChanged, &m_context, [this] { post(); });
}

void QtScreenList::post()
{
    // Told once the event loop runs again: Qt moves the windows of a screen
    // that went away only after it has announced it, and one change often
    // comes as several signals.
    if (m_posted)
        return;
    m_posted = true;
    QMetaObject::invokeMethod(&m_context, [this] {
        m_posted = false;
        changed();
    }, Qt::QueuedConnection);
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
