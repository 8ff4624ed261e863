#pragma once

// Plugs screens in and out of Qt's offscreen platform. Needs Qt6::GuiPrivate.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <qpa/qplatformnativeinterface.h>

namespace kugelfon::test {

// Screen a (1280 x 1024) alone, or a and b (1920 x 1080) on its right; a
// stays the primary.
inline void plug(bool second)
{
    QJsonArray screens{QJsonObject{{"name", "a"}, {"width", 1280}, {"height", 1024}}};
    if (second)
        screens.append(QJsonObject{{"name", "b"}, {"x", 1280}, {"width", 1920}, {"height", 1080}});
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    const auto set = reinterpret_cast<void (*)(const QJsonObject &, QPlatformNativeInterface *)>(
        native->nativeResourceForIntegration("setConfiguration"));
    set(QJsonObject{{"screens", screens}}, native);
    QCoreApplication::processEvents();
}

} // namespace kugelfon::test
