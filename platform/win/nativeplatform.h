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

// The program's name as typed in a console; Windows programs answer "/?"
// with their help.
inline constexpr char kCommandName[] = "Kugelfon.exe";
inline constexpr bool kSlashQuestionMarkAsksHelp = true;

} // namespace kugelfon
