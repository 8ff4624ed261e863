#pragma once

#include "platform/screenlist.h"

namespace kugelfon::test {

// Screens that come and go when the test says so.
class FakeScreenList final : public IScreenList {
public:
    explicit FakeScreenList(QList<QRect> screens = {QRect(0, 0, 1280, 1024)})
        : m_screens(std::move(screens))
    {
    }
    QList<QRect> geometries() const override { return m_screens; }
    // The new set of screens, the primary first; the handler hears of it.
    void set(QList<QRect> screens)
    {
        m_screens = std::move(screens);
        changed();
    }

private:
    QList<QRect> m_screens;
};

} // namespace kugelfon::test
