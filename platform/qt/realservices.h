#pragma once

#include "platform/clockrandom.h"
#include "platform/qt/qtapplication.h"
#include "platform/qt/qtmessagebox.h"
#include "platform/qt/qtprinters.h"
#include "platform/qt/qtresources.h"
#include "platform/qt/qtscreenlist.h"
#include "platform/qt/qtscreenmetrics.h"
#include "platform/qt/qttimer.h"
#include "platform/services.h"

#include "nativeplatform.h"

namespace kugelfon {

// The operating system's services, as the program uses them. Create it after
// the QApplication.
struct RealServices {
    QtTimerFactory timers;
    QtMessageBoxes messages;
    QtScreenMetrics screen;
    NativeSoundOutput sound;
    ClockRandom random;
    QtResources resources;
    QtApplication application;
    QtPrinters printers;
    NativeSystemInfo sysinfo;
    QtScreenList screens;

    Services services()
    {
        return {.timers = timers, .messages = messages, .screen = screen, .sound = sound,
                .random = random, .resources = resources, .app = application,
                .printers = printers, .sysinfo = sysinfo, .screens = screens};
    }
};

} // namespace kugelfon
