#pragma once

#include <QString>
#include <QStringList>

namespace kugelfon::console {

// Writes text (lines end in '\n') to the standard output or error output as
// the system expects it; false when it could not be written.
bool writeOut(const QString &text);
bool writeError(const QString &text);

// The program's arguments as typed, its name first.
QStringList arguments(int argc, char **argv);

} // namespace kugelfon::console
