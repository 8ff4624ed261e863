#pragma once

// Windows: the lookup's registry keys are written below a key of the test's own
// under HKEY_CURRENT_USER, which the test's launcher reads instead of HKLM.
#include "platform/win/registrysysinfo.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace sysinfocases {

using namespace kugelfon;

inline RegistrySystemInfo testLauncher()
{
    return RegistrySystemInfo(RegistrySystemInfo::Root::CurrentUser, QStringLiteral("Software\\Kugelfon-Test\\"));
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// The test's keys, removed at the end: the first key's PATH (`first`; "script"
// for `script`, which leaves started.txt beside itself), the second key
// naming the folder, a first key without PATH (`other`).
struct Keys {
    QSettings reg{QStringLiteral("HKEY_CURRENT_USER\\Software\\Kugelfon-Test"), QSettings::NativeFormat};
    QTemporaryDir dir;
    const QString script = QDir::toNativeSeparators(dir.filePath(QStringLiteral("info.cmd")));
    const QString msinfo = QDir::toNativeSeparators(dir.filePath(QStringLiteral("MSINFO32.EXE")));

    Keys(const QVariant &first, bool second, bool other = false)
    {
        reg.remove(QString());
        writeFile(script, "@echo started> \"%~dp0started.txt\"\r\n");
        if (first.isValid())
            reg.setValue(QStringLiteral("Shared Tools/MSINFO/PATH"), first == QStringLiteral("script") ? QVariant(script) : first);
        if (other)
            reg.setValue(QStringLiteral("Shared Tools/MSINFO/ANDERS"), script);
        if (second)
            reg.setValue(QStringLiteral("Shared Tools Location/MSINFO"), QDir::toNativeSeparators(dir.path()));
        reg.sync();
    }
    ~Keys() { reg.remove(QString()); }
};

// check(want, started) for each setup: started() tells what has started so
// far, want what should, empty for nothing. The first key's path is started
// as read; without it the second key's folder with MSINFO32.EXE, which find()
// names (this test starts only scripts). Nothing starts without either key,
// from a folder without MSINFO32.EXE, or from a first key naming a missing
// file or holding a number.
inline void forEachSetup(const std::function<void(const QString &, const std::function<QString()> &)> &check)
{
    enum Setup { FirstOnly, FirstBeforeSecond, SecondOnly, FirstTooLong, FirstKeyWithoutValue };
    for (const Setup setup : {FirstOnly, FirstBeforeSecond, SecondOnly, FirstTooLong, FirstKeyWithoutValue}) {
        const bool first = setup == FirstOnly || setup == FirstBeforeSecond;
        const QVariant path = first ? QVariant(QStringLiteral("script")) : setup == FirstTooLong ? QVariant(QString(1100, QLatin1Char('x'))) : QVariant();
        Keys keys(path, setup != FirstOnly, setup == FirstKeyWithoutValue);
        writeFile(keys.msinfo, "not started by this test");
        QCOMPARE(testLauncher().find(), first ? keys.script : keys.msinfo);
        if (first)
            check(QStringLiteral("started"), [&keys] {
                QFile started(keys.dir.filePath(QStringLiteral("started.txt")));
                return started.open(QIODevice::ReadOnly) ? QString::fromLatin1(started.readAll()).trimmed() : QString();
            });
    }
    for (const QVariant &first : {QVariant(), QVariant(QStringLiteral("C:\\nirgends\\msinfo32.exe")), QVariant(7)}) {
        for (const bool second : {false, true}) {
            if (first.isValid() && second)
                continue;
            Keys keys(first, second);
            QFile::remove(keys.script);
            check(QString(), [] { return QString(); });
        }
    }
}

} // namespace sysinfocases
