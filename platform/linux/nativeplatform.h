#pragma once

// The services that differ by operating system, as Linux provides them.
// CMake puts this folder or its Windows twin on the include path.
#include "platform/linux/alsasoundoutput.h"
#include "platform/linux/desktopsysinfo.h"

namespace kugelfon {

using NativeSoundOutput = AlsaSoundOutput;
using NativeSystemInfo = DesktopSystemInfo;

// An X11 or Wayland session announces itself in DISPLAY or WAYLAND_DISPLAY;
// without either there is no screen to open.
inline constexpr bool kDisplayFromEnvironment = true;

// The program's name as typed in a terminal; options start with dashes only.
inline constexpr char kCommandName[] = "kugelfon";
inline constexpr bool kSlashQuestionMarkAsksHelp = false;

// Only the Windows installer looks for a running Kugelfon.
inline void markRunning() {}

} // namespace kugelfon
