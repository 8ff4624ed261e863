#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QApplication;

namespace kugelfon {

// Which of Qt's platforms the program starts on, decided before Qt starts.
struct PlatformChoice {
    QByteArray platform; // as QT_QPA_PLATFORM takes it; empty when there is no display
    QString problem;     // German, when the program cannot start on it
    QString unopened;    // German, for when Qt cannot open it after all
};

// qpaPlatform, wayland, x11: QT_QPA_PLATFORM, WAYLAND_DISPLAY, DISPLAY.
// installedPlugins: the file names in Qt's platform plugin folders.
// A platform set explicitly wins; a desktop that offers X11 runs through it,
// where the program can place its windows; Wayland alone runs on Wayland.
PlatformChoice choosePlatform(const QByteArray &qpaPlatform, const QByteArray &wayland,
                              const QByteArray &x11, const QStringList &installedPlugins);

// Creates the QApplication on the platform choosePlatform() picks. Without a
// window system to show it on, or without its plugin, the program ends here
// with status 1 and one German line on stderr, instead of Qt's abort.
std::unique_ptr<QApplication> openApplication(int &argc, char **argv);

} // namespace kugelfon
