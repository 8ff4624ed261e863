#pragma once

#include <QList>
#include <QRect>
#include <QPoint>
#include <functional>
#include <optional>

namespace kugelfon {

// The screens of the desktop as they come and go, for a window that
// chooses one of them.
class IScreenList {
public:
    virtual ~IScreenList() = default;
    // Each screen's geometry in desktop coordinates, the primary first.
    virtual QList<QRect> geometries() const = 0;
    // Where a native window's client area begins on the desktop right now,
    // in device pixels, asked of the window system: some window managers
    // tell a window where it went only once a drag by its title ends.
    // Nothing where the window system does not say.
    virtual std::optional<QPoint> clientOrigin(quintptr window) const
    {
        (void)window;
        return std::nullopt;
    }

    // Called as soon as a screen was added, removed or moved, or another
    // became primary; one change may call it several times.
    void setChangeHandler(std::function<void()> handler) { m_handler = std::move(handler); }

protected:
    void changed()
    {
        if (m_handler)
            m_handler();
    }

private:
    std::function<void()> m_handler;
};

} // namespace kugelfon
