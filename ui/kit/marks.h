#pragma once

#include <QColor>

namespace kugelfon {

// The check sheet's marks, shared by every window that shows them: red until
// a number is shown in the game, then light green.
inline const QColor kNotShown(255, 0, 0);
inline const QColor kShown(128, 255, 128);

} // namespace kugelfon
