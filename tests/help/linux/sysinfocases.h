#pragma once

// How the about window's test meets Linux: the system information program
// is the first of hardinfo, kinfocenter and xfce4-about in PATH, faked by
// scripts that record their arguments.
#include "platform/desktopsysinfo.h"

#include <QtTest>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

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

// The first of hardinfo, kinfocenter and xfce4-about in PATH, without
// arguments; the about window stays.
template <class AboutShown>
void startsTheProgramFound()
{
    const auto restore = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    const QStringList known{"hardinfo", "kinfocenter", "xfce4-about"};
    for (int first = 0; first < known.size(); ++first) {
        QTemporaryDir bin, other;
        for (const QString &name : known.mid(first))
            writeProgram(bin.path(), name);
        // A first PATH entry without any of them: the search goes on.
        qputenv("PATH", (other.path() + QLatin1Char(':') + bin.path()).toLocal8Bit());
        AboutShown x;
        QTest::mouseClick(x.child("cmdSysInfo"), Qt::LeftButton);
        QFile args(bin.path() + QLatin1Char('/') + known[first] + QStringLiteral(".args"));
        QTRY_VERIFY_WITH_TIMEOUT(args.size() > 0, 10000);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("0|"));
        QCOMPARE(QDir(bin.path()).entryList({"*.args"}), QStringList{known[first] + QStringLiteral(".args")});
        QVERIFY(x.f.messages.shown.isEmpty() && x.w && x.w->isVisible()); // no message, the window stays
    }
}

// None in PATH, or hardinfo whose interpreter is missing: the message,
// every time, and the window stays. Enter on the focused System-Info
// button presses that button, not OK.
template <class AboutShown>
void saysSoWhenNoneCanBeStarted()
{
    const auto restore = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    for (const bool inPath : {false, true}) {
        QTemporaryDir bin;
        if (inPath)
            writeProgram(bin.path(), QStringLiteral("hardinfo"), "#!/nonexistent/interpreter");
        qputenv("PATH", bin.path().toLocal8Bit());
        AboutShown x;
        QTest::mouseClick(x.child("cmdSysInfo"), Qt::LeftButton);
        QTRY_VERIFY(x.child("cmdSysInfo")->hasFocus());
        QTest::keyClick(x.child("cmdSysInfo"), Qt::Key_Return);
        QCOMPARE(x.f.messages.shown.size(), 2);
        for (const test::ShownBox &box : x.f.messages.shown)
            QCOMPARE(box.title + QLatin1Char('|') + box.text + (box.buttons == MsgButtons::Ok ? "|OK" : "|?"),
                     QStringLiteral("Kugelfon|Systeminformationsprogramm zur Zeit nicht verfügbar.|OK"));
        QVERIFY(x.w && x.w->isVisible());
    }
}

} // namespace sysinfocases
