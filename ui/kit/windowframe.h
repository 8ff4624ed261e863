#pragma once

#include <QMargins>

namespace kugelfon {

// What a desktop's window frame takes around the client area: a title bar
// and thin borders. Nothing reports it before the window is shown, so this
// is an allowance of the usual size.
inline constexpr QMargins kWindowFrameAllowance(4, 30, 4, 4);

} // namespace kugelfon
