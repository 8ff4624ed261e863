// The smallest Qt Widgets window, built like Kugelfon.exe: the start-up
// bench under Wine measures Kugelfon against it.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Leeres Fenster"));
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.resize(400, 200);
    window.show();
    return app.exec();
}
