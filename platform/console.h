#pragma once

#include <QString>

namespace kugelfon::console {

// Writes text (lines end in '\n') to the standard output or error output as
// the system expects it; false when it could not be written.
bool writeOut(const QString &text);
bool writeError(const QString &text);

} // namespace kugelfon::console
