#pragma once

namespace kugelfon {

// Whether the system's print spooler refused the last print job of this
// thread, which Qt's print support does not report. One implementation per
// operating system.
bool spoolerRefusedLastJob();

} // namespace kugelfon
