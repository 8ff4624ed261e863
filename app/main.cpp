#include "app/display.h"
#include "app/program.h"
#include "platform/realservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Kugelfon scales its windows itself, from twips and the screen's dots
    // per inch, so Qt must not scale them a second time.
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    const std::unique_ptr<QApplication> app = kugelfon::openApplication(argc, argv);
    kugelfon::configureApplication(*app);

    kugelfon::RealServices real;
    kugelfon::Program program(real.services());
    program.start();
    return app->exec();
}
