#pragma once

#include <QString>
#include <QStringList>

namespace kugelfon {

// What the command line asks for.
struct StartOptions {
    bool windowed = false;     // --fenster: a window on any screen
    bool hallDisplay = false;  // --saalanzeige: a display for the players
    bool help = false;
    bool version = false;
    QString error;             // German, naming what was not understood
};

// Reads the arguments (the program's name first), without any window.
StartOptions parseStartOptions(const QStringList &arguments);

// The German answers to --help and --version.
QString helpText();
QString versionText();

} // namespace kugelfon
