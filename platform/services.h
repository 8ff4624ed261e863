#pragma once

#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/random.h"
#include "platform/resources.h"
#include "platform/screenlist.h"
#include "platform/screenmetrics.h"
#include "platform/soundoutput.h"
#include "platform/timer.h"

namespace kugelfon {

class IPrinters;
class ISystemInfoLauncher;

// The operating-system services the windows use. main() hands over the real
// ones, tests hand over fakes. None of them is owned here.
struct Services {
    ITimerFactory *timers = nullptr;
    IMessageBoxes *messages = nullptr;
    IScreenMetrics *screen = nullptr;
    ISoundOutput *sound = nullptr;
    IRandom *random = nullptr;
    IResources *resources = nullptr;
    IApplication *app = nullptr;
    IPrinters *printers = nullptr;              // platform/printers.h
    ISystemInfoLauncher *sysinfo = nullptr;     // platform/sysinfo.h
    IScreenList *screens = nullptr;             // the desktop's screens
};

} // namespace kugelfon
