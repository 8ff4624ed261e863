#pragma once

// Linux: the first of hardinfo, kinfocenter and xfce4-about in PATH, faked by
// scripts that record their arguments.
#include "platform/desktopsysinfo.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

namespace sysinfocases {

using namespace kugelfon;

inline DesktopSystemInfo testLauncher() { return DesktopSystemInfo(); }

// A script that writes its argument count and arguments to <dir>/<name>.args.
inline void writeProgram(const QString &dir, const QString &name, const QByteArray &shebang = "#!/bin/sh")
{
    QFile f(dir + QLatin1Char('/') + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(shebang + "\nprintf '%s|%s' \"$#\" \"$*\" > \"$0.args\"\n");
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// The first of the three in PATH, without arguments; no message, the window stays.
inline void startsTheProgramFound()
{
    const auto restore = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    const QStringList known{"hardinfo", "kinfocenter", "xfce4-about"};
    for (int first = 0; first < known.size(); ++first) {
        QTemporaryDir bin, other;
        for (const QString &name : known.mid(first))
            writeProgram(bin.path(), name);
        qputenv("PATH", (other.path() + QLatin1Char(':') + bin.path()).toLocal8Bit());
        About x(testLauncher());
        QTest::mouseClick(x.at("cmdSysInfo"), Qt::LeftButton);
        QFile args(bin.path() + QLatin1Char('/') + known[first] + QStringLiteral(".args"));
        QTRY_VERIFY_WITH_TIMEOUT(args.size() > 0, 10000);
        QVERIFY(args.open(QIODevice::ReadOnly) && args.readAll() == "0|");
        QCOMPARE(QDir(bin.path()).entryList({"*.args"}), QStringList{known[first] + QStringLiteral(".args")});
        QVERIFY(x.f.messages.shown.isEmpty() && x.w && x.w->isVisible());
    }
}

// None in PATH, or hardinfo whose interpreter is missing.
inline void forEachSetupWithout(void (*check)(About &))
{
    const auto restore = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    for (const bool inPath : {false, true}) {
        QTemporaryDir bin;
        if (inPath)
            writeProgram(bin.path(), QStringLiteral("hardinfo"), "#!/nonexistent/interpreter");
        qputenv("PATH", bin.path().toLocal8Bit());
        About x(testLauncher());
        check(x);
    }
}

} // namespace sysinfocases
