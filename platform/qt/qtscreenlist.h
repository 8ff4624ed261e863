#pragma once

#include "platform/screenlist.h"

#include <QObject>

class QScreen;

namespace kugelfon {

class QtScreenList final : public IScreenList {
public:
    // Create it after the QGuiApplication.
    QtScreenList();
    QList<QRect> geometries() const override;

private:
    void watch(QScreen *screen);
    void notify();

    QObject m_context; // ends the connections with this object
};

} // namespace kugelfon
