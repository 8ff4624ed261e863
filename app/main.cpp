#include "app/program.h"
#include "platform/realservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Kugelfon lays its windows out in screen pixels itself. Qt's scaling by
    // the desktop's font dpi would shrink the screen it sees (1024 x 768 at
    // 120 dpi would look like 819 x 614, a size the program refuses).
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    kugelfon::configureApplication(app);

    kugelfon::RealServices real;
    kugelfon::Program program(real.services());
    program.start();
    return app.exec();
}
