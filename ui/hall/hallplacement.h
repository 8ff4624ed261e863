#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

namespace kugelfon {

// Where the hall display goes, decided from the screens and the organiser's
// window alone, so that the rule can be checked without windows.
struct HallPlacement {
    enum class Kind {
        FullScreen, // on a screen that overlaps neither the organiser's screen nor window
        Corner,     // a window in a free corner beside the organiser's window
        Behind,     // a window kept below the organiser's window: no room beside it
    };
    Kind kind = Kind::Behind;
    QRect rect; // full-screen: the screen; otherwise the window's client area

    friend bool operator==(const HallPlacement &, const HallPlacement &) = default;
};

// The smallest client area the hall's number and board stay readable in.
inline constexpr QSize kHallMinimumSize(240, 180);

// screens: each screen's geometry, the primary first; mainFrame: the
// organiser's window with its frame; frame: what a window frame adds around
// a client area.
HallPlacement placeHall(const QList<QRect> &screens, const QRect &mainFrame, const QMargins &frame);

} // namespace kugelfon
