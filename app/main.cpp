#include "app/display.h"
#include "app/options.h"
#include "app/program.h"
#include "platform/console.h"
#include "platform/qt/qtsingleinstance.h"
#include "platform/qt/realservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    kugelfon::markRunning();
    const kugelfon::StartOptions options =
        kugelfon::parseStartOptions(kugelfon::console::arguments(argc, argv));
    if (!options.error.isEmpty()) {
        kugelfon::console::writeError(options.error + '\n');
        return 2;
    }
    if (options.help || options.version) {
        const QString text = options.help ? kugelfon::helpText() : kugelfon::versionText();
        // Output that cannot be written (a full disk, a closed pipe) is a
        // failure, not an answer given.
        if (!kugelfon::console::writeOut(text)) {
            kugelfon::console::writeError(
                QStringLiteral("Kugelfon: Die Ausgabe lässt sich nicht schreiben.\n"));
            return 1;
        }
        return 0;
    }

    // On its own screens Kugelfon lays its windows out in screen pixels
    // itself; Qt's scaling by the desktop's font dpi would shrink the screen
    // it sees (1024 x 768 at 120 dpi would look like 819 x 614, a size it
    // refuses). In a window on any screen it works in logical pixels.
    if (!options.windowed && qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    const std::unique_ptr<QApplication> app = kugelfon::openApplication(argc, argv);
    kugelfon::QtSingleInstance instance;
    if (const auto status = kugelfon::handOver(instance, kugelfon::console::arguments(argc, argv).mid(1)))
        return *status;
    kugelfon::configureApplication(*app);

    kugelfon::RealServices real;
    kugelfon::Program program(real.services(), options);
    program.start();
    instance.setFrontHandler([&program] { program.bringToFront(); });
    const int status = app->exec();
    // A refused screen is a start that failed.
    return program.refused() ? 1 : status;
}
