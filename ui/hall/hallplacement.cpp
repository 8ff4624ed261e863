#include "ui/hall/hallplacement.h"

#include <algorithm>
#include <optional>

namespace kugelfon {

namespace {

qint64 area(const QRect &r)
{
    return r.isValid() ? qint64(r.width()) * r.height() : 0;
}

// The room beside the organiser's window on one screen: the strips to its
// right, left, below and above; the whole screen when it is elsewhere.
QList<QRect> stripsBeside(const QRect &screen, const QRect &mainFrame)
{
    const QRect m = mainFrame & screen;
    if (m.isEmpty())
        return {screen};
    return {QRect(QPoint(m.right() + 1, screen.top()), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(m.left() - 1, screen.bottom())),
            QRect(QPoint(screen.left(), m.bottom() + 1), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(screen.right(), m.top() - 1))};
}

// The largest free strip beside the organiser's window on any screen, the
// window as large as there and as before (half the screen, at least the
// 640 x 480 layout), in the strip's corner away from the organiser.
std::optional<QRect> freeCorner(const QList<QRect> &screens, const QRect &mainFrame, const QMargins &frame)
{
    const QPoint mainCentre = mainFrame.center();
    std::optional<QRect> out;
    for (const QRect &s : screens) {
        const QSize preferred = (s.size() / 2).expandedTo(QSize(640, 480)).boundedTo(s.size());
        for (const QRect &strip : stripsBeside(s, mainFrame)) {
            const QRect room = strip.marginsRemoved(frame);
            if (room.width() < kHallMinimumSize.width() || room.height() < kHallMinimumSize.height())
                continue;
            QRect r(QPoint(), room.size().boundedTo(preferred));
            if (area(r) <= (out ? area(*out) : 0))
                continue;
            const QPoint c = strip.center();
            if (c.x() < mainCentre.x())
                r.moveLeft(room.left());
            else
                r.moveRight(room.right());
            if (c.y() > mainCentre.y())
                r.moveBottom(room.bottom());
            else
                r.moveTop(room.top());
            out = r;
        }
    }
    return out;
}

} // namespace

HallPlacement placeHall(const QList<QRect> &screens, const QRect &mainFrame, const QMargins &frame)
{
    HallPlacement out;
    if (screens.isEmpty())
        return out;
    // The organiser's screen: the one showing most of the window; on a tie
    // (mirrored screens) the first, the primary.
    qsizetype own = 0;
    for (qsizetype i = 1; i < screens.size(); ++i)
        if (area(screens[i] & mainFrame) > area(screens[own] & mainFrame))
            own = i;
    const QRect ownScreen = screens[own];

    for (const QRect &s : screens) {
        if (!s.intersects(ownScreen) && !s.intersects(mainFrame)) {
            out.kind = HallPlacement::Kind::FullScreen;
            out.rect = s;
            return out;
        }
    }
    if (const auto corner = freeCorner(screens, mainFrame, frame)) {
        out.kind = HallPlacement::Kind::Corner;
        out.rect = *corner;
        return out;
    }

    // No room: as before, in the middle of the organiser's screen, but behind
    // the organiser's window.
    const QSize size = (ownScreen.size() / 2).expandedTo(QSize(640, 480)).boundedTo(ownScreen.size());
    out.rect = QRect(QPoint(), size);
    out.rect.moveCenter(ownScreen.center());
    return out;
}

} // namespace kugelfon
