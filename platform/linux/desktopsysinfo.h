#pragma once

#include "platform/sysinfo.h"

#include <QString>
#include <QStringList>

namespace kugelfon {

// The system information program of a Linux desktop, searched in PATH in a
// fixed order and started detached with no arguments and without a shell.
//
// Only programs that show the system's description when started bare are
// listed, best first:
//   1. hardinfo     - desktop-neutral system profiler (hardware, OS, devices),
//                     the nearest thing to Windows' MSINFO32;
//   2. kinfocenter  - KDE's Info Center, opens on the system summary;
//   3. xfce4-about  - Xfce's about dialog, whose first page lists OS, CPU,
//                     memory and graphics.
// GNOME's "gnome-control-center info-overview" and Cinnamon's
// "cinnamon-settings info" need an argument, and the system monitors show
// processes rather than system information, so they are left out.
class DesktopSystemInfo final : public ISystemInfoLauncher {
public:
    static QStringList knownPrograms();

    explicit DesktopSystemInfo(QStringList programs = knownPrograms());

    // The full path of the first listed program found in PATH, or empty.
    QString find() const;
    bool start() override;

private:
    QStringList m_programs;
};

} // namespace kugelfon
