#pragma once

// The services that differ by operating system, as Windows provides them.
// CMake puts this folder or its Linux twin on the include path.
#include "platform/win/registrysysinfo.h"
#include "platform/win/runningmark.h"
#include "platform/win/winmmsoundoutput.h"

namespace kugelfon {

using NativeSoundOutput = WinmmSoundOutput;
using NativeSystemInfo = RegistrySystemInfo;

// A Windows session always has its desktop; no variable names it.
inline constexpr bool kDisplayFromEnvironment = false;

} // namespace kugelfon
