#pragma once

namespace kugelfon {

// Marks this process as a running Kugelfon for the installer and the
// uninstaller, which refuse to replace or remove it while the mark exists:
// the mutex "Global\KugelfonRunning", held until the process ends. Without
// it the program runs all the same.
void markRunning();

} // namespace kugelfon
