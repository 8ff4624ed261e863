#include "app/program.h"
#include "platform/alsasoundoutput.h"
#include "platform/clockrandom.h"
#include "platform/desktopsysinfo.h"
#include "platform/qtapplication.h"
#include "platform/qtmessagebox.h"
#include "platform/qtprinters.h"
#include "platform/qtresources.h"
#include "platform/qtscreenmetrics.h"
#include "platform/qttimer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Kugelfon scales its windows itself, from twips and the screen's dots
    // per inch, so Qt must not scale them a second time.
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    kugelfon::configureApplication(app);

    kugelfon::QtTimerFactory timers;
    kugelfon::QtMessageBoxes messages;
    kugelfon::QtScreenMetrics screen;
    kugelfon::AlsaSoundOutput sound;
    kugelfon::ClockRandom random;
    kugelfon::QtResources resources;
    kugelfon::QtApplication application;
    kugelfon::QtPrinters printers;
    kugelfon::DesktopSystemInfo sysinfo;

    kugelfon::Services services;
    services.timers = &timers;
    services.messages = &messages;
    services.screen = &screen;
    services.sound = &sound;
    services.random = &random;
    services.resources = &resources;
    services.app = &application;
    services.printers = &printers;
    services.sysinfo = &sysinfo;

    kugelfon::Program program(services);
    program.start();
    return app.exec();
}
