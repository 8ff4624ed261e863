#pragma once

namespace kugelfon {

// Prints the time from a "Weiter" click to the hall display painted, at
// 1920 x 1080 and 3840 x 2160, and the main window's own step time without
// and with the display.
void benchHall();

} // namespace kugelfon
