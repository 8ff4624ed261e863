#pragma once

// How the about window's test meets Windows: the registry keys of the lookup
// are written below a key of the test's own under HKEY_CURRENT_USER, which
// the test's launcher reads instead of HKEY_LOCAL_MACHINE.
#include "platform/win/registrysysinfo.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace sysinfocases {

using namespace kugelfon;

inline const QString kRoot = QStringLiteral("HKEY_CURRENT_USER\\Software\\Kugelfon-Test");

inline RegistrySystemInfo testLauncher()
{
    return RegistrySystemInfo(RegistrySystemInfo::Root::CurrentUser,
                              QStringLiteral("Software\\Kugelfon-Test\\"));
}

// The test's keys, empty at the start and removed at the end.
struct Keys {
    QSettings reg{kRoot, QSettings::NativeFormat};
    Keys() { reg.remove(QString()); }
    ~Keys() { reg.remove(QString()); }
    void first(const QVariant &path) { reg.setValue(QStringLiteral("Shared Tools/MSINFO/PATH"), path); }
    void second(const QString &folder)
    {
        reg.setValue(QStringLiteral("Shared Tools Location/MSINFO"), QDir::toNativeSeparators(folder));
    }
    void sync() { reg.sync(); }
};

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// A command script that leaves started.txt beside itself.
inline QString startable(const QTemporaryDir &dir, const QString &name)
{
    const QString path = QDir::toNativeSeparators(dir.filePath(name));
    writeFile(path, "@echo started> \"%~dp0started.txt\"\r\n");
    return path;
}

// The first key's path is started as read; without it the second key's
// folder with MSINFO32.EXE. Which one the lookup takes is read from
// find(); the start itself is seen through the script's trace.
inline void startsTheProgramFound()
{
    enum Setup { FirstOnly, FirstBeforeSecond, SecondOnly, FirstTooLong, FirstKeyWithoutValue };
    for (const Setup setup : {FirstOnly, FirstBeforeSecond, SecondOnly, FirstTooLong, FirstKeyWithoutValue}) {
        Keys keys;
        QTemporaryDir dir;
        const QString script = startable(dir, QStringLiteral("info.cmd"));
        const QString msinfo = QDir::toNativeSeparators(dir.filePath(QStringLiteral("MSINFO32.EXE")));
        writeFile(msinfo, "not started by this test");
        if (setup == FirstOnly || setup == FirstBeforeSecond)
            keys.first(script);
        if (setup == FirstTooLong)
            keys.first(QString(1100, QLatin1Char('x')));
        if (setup == FirstKeyWithoutValue)
            keys.reg.setValue(QStringLiteral("Shared Tools/MSINFO/ANDERS"), script);
        if (setup != FirstOnly)
            keys.second(dir.path());
        keys.sync();
        const QString expected = setup == FirstOnly || setup == FirstBeforeSecond ? script : msinfo;
        QCOMPARE(testLauncher().find(), expected);
        if (expected != script)
            continue;
        About x(testLauncher());
        QTest::mouseClick(x.at("cmdSysInfo"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("started.txt"))), 15000);
        QVERIFY(x.f.messages.shown.isEmpty() && x.w && x.w->isVisible()); // no message, the window stays
    }
}

// Neither key, a folder without MSINFO32.EXE, a first key naming a missing
// file or holding a number.
inline void forEachSetupWithout(void (*check)(About &))
{
    enum Setup { NoKeys, FolderWithoutProgram, FirstNamesMissingFile, FirstIsNumber };
    for (const Setup setup : {NoKeys, FolderWithoutProgram, FirstNamesMissingFile, FirstIsNumber}) {
        Keys keys;
        QTemporaryDir dir;
        if (setup == FolderWithoutProgram)
            keys.second(dir.path());
        if (setup == FirstNamesMissingFile)
            keys.first(QDir::toNativeSeparators(dir.filePath(QStringLiteral("msinfo32.exe"))));
        if (setup == FirstIsNumber)
            keys.first(7);
        keys.sync();
        About x(testLauncher());
        check(x);
    }
}

} // namespace sysinfocases
