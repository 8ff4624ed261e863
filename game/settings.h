#pragma once

#include "game/recordings.h"

#include <QtGlobal>

namespace kugelfon {

enum class Pool : qint16 { Of75 = 1, Of90 = 2 };

constexpr int poolSize(Pool pool) { return pool == Pool::Of90 ? 90 : 75; }

// The item of the stepping menu that carries the check mark.
enum class SteppingChoice { Manual, Seconds5, Seconds10, Seconds20, Custom };

// What the menus chose. The Caller owns them and publishes them in its view;
// nothing is kept between runs, so every start begins with pool 75, manual
// stepping and the female voice.
struct Settings {
    Pool pool = Pool::Of75;
    Voice voice = Voice::Female;
    SteppingChoice stepping = SteppingChoice::Manual;
    float intervalSeconds = 0; // the period of automatic stepping; 0 until one is chosen
    int customSeconds = 0;     // the interval taken from the dialog
    bool operator==(const Settings &) const = default;
};

} // namespace kugelfon
