#include "platform/linux/desktopsysinfo.h"

#include <QProcess>
#include <QStandardPaths>

namespace kugelfon {

QStringList DesktopSystemInfo::knownPrograms()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("xfce4-about")};
}

DesktopSystemInfo::DesktopSystemInfo(QStringList programs) : m_programs(std::move(programs)) {}

QString DesktopSystemInfo::find() const
{
    for (const QString &name : m_programs) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool DesktopSystemInfo::start()
{
    const QString path = find();
    if (path.isEmpty())
        return false;
    // Detached: the about window neither waits for it nor ends it.
    return QProcess::startDetached(path, {});
}

} // namespace kugelfon
