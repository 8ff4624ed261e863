#pragma once

#include <QtGlobal>

namespace kugelfon {

// The settings chosen in the menus and the screen measured at start, shared by
// every window through one instance. All fields start at zero; the main
// window's load writes the start settings.
struct SharedStore {
    qint32 AufX = 0;
    qint32 AufY = 0;
    qint32 AufTwipX = 0;
    qint32 AufTwipY = 0;
    qint16 SchaltModus = 0;   // 1 manual, 2 automatic stepping
    qint16 ZahlenModus = 0;   // 1 = pool 1..75, 2 = pool 1..90
    float ZahlenInterval = 0; // seconds between automatic steps; 0 until chosen
    qint16 StimmenModus = 0;  // 1 female, 2 male voice
};

// The one instance, created on first access.
SharedStore &frmIntern();
bool internExists();
// The quit path destroys it; the next access creates a fresh, zeroed one.
void destroyIntern();

} // namespace kugelfon
