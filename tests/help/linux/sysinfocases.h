#pragma once

// Linux: the first of hardinfo, kinfocenter and xfce4-about in PATH, faked by
// scripts that record their arguments.
#include "platform/linux/desktopsysinfo.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace sysinfocases {

inline kugelfon::DesktopSystemInfo testLauncher() { return kugelfon::DesktopSystemInfo(); }

// A script that writes its argument count and arguments to <dir>/<name>.args.
inline void writeProgram(const QString &dir, const QString &name, const QByteArray &shebang = "#!/bin/sh")
{
    QFile f(dir + QLatin1Char('/') + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(shebang + "\nprintf '%s|%s' \"$#\" \"$*\" > \"$0.args\"\n");
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// check(want, started) for each setup: started() tells what has started so
// far, want what should, empty for nothing. The first of the three in PATH
// starts, without arguments; then none in PATH, then only hardinfo, whose
// interpreter is missing.
inline void forEachSetup(const std::function<void(const QString &, const std::function<QString()> &)> &check)
{
    const auto restore = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    const QStringList known{"hardinfo", "kinfocenter", "xfce4-about"};
    for (int first = 0; first <= known.size() + 1; ++first) {
        QTemporaryDir bin, other;
        for (const QString &name : known.mid(first))
            writeProgram(bin.path(), name);
        if (first > known.size())
            writeProgram(bin.path(), QStringLiteral("hardinfo"), "#!/nonexistent/interpreter");
        qputenv("PATH", (other.path() + QLatin1Char(':') + bin.path()).toLocal8Bit());
        const QString want = first < known.size() ? known[first] + QStringLiteral(" 0|") : QString();
        check(want, [&bin] {
            QString started;
            for (const QString &name : QDir(bin.path()).entryList({QStringLiteral("*.args")})) {
                QFile args(bin.filePath(name));
                started += args.open(QIODevice::ReadOnly) ? name.chopped(5) + ' ' + args.readAll() : name;
            }
            return started;
        });
    }
}

} // namespace sysinfocases
