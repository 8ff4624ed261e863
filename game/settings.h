#pragma once

#include "game/recordings.h"

#include <QtGlobal>

namespace kugelfon {

enum class Pool : qint16 { Of75 = 1, Of90 = 2 };
enum class SteppingMode : qint16 { Manual = 1, Automatic = 2 };

constexpr int poolSize(Pool pool) { return pool == Pool::Of90 ? 90 : 75; }

// The screen as measured at start, in pixels and in twips.
struct ScreenSize {
    qint32 widthPx = 0;
    qint32 heightPx = 0;
    qint32 widthTwips = 0;
    qint32 heightTwips = 0;
};

// What the menus chose and the screen measured at start. One object, made at
// start-up and handed to whoever needs it; nothing is kept between runs, so
// every start begins with pool 75, manual stepping and the female voice.
struct Settings {
    Pool pool = Pool::Of75;
    SteppingMode stepping = SteppingMode::Manual;
    float intervalSeconds = 0; // 0 until an interval is chosen
    Voice voice = Voice::Female;
    ScreenSize screen;
};

} // namespace kugelfon
