#pragma once

#include <QPoint>
#include <QString>
#include <optional>

namespace kugelfon::desktopsession {

// The user's own folder for the lock of a running Kugelfon; empty when there is none.
QString folder();
// What sets this desktop session apart from the user's others (and, where
// the folder may be shared, from other users').
QString key();
// Where a window's client area stands on the desktop, asked of the window
// system itself; nothing where it does not say.
std::optional<QPoint> windowOrigin(quintptr window);

// Lets the running program take the focus from this one, where the system
// keeps a program in the background from taking it.
void allowToFront(qint64 pid);

} // namespace kugelfon::desktopsession
