#pragma once

// Helpers the tests share: widgets by name, the product's name with CMake's
// version, slow conditions and tools.

#include "kugelfon_version.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTest>

#include <functional>

namespace kugelfon::test {

// "Kugelfon 1.1", written from the project's version, not from the program.
inline QString productWithVersion() { return QStringLiteral("Kugelfon ") + QLatin1String(version::kText); }

template <typename T = QWidget>
T *child(const QObject &parent, const QString &name)
{
    return parent.findChild<T *>(name);
}

inline void click(const QObject &parent, const QString &button)
{
    QTest::mouseClick(child<QAbstractButton>(parent, button), Qt::LeftButton);
}

// Runs the deleteLater()s queued so far, as the event loop would.
inline void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Polls a slow condition, events handled meanwhile; false if not true within `ms`.
inline bool eventually(const std::function<bool()> &done, int ms, int pollMs = 200)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(pollMs);
    }
    return true;
}

// Ends a process that may hang: asked first, then killed.
inline void stop(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

// The environment of a program without any window system.
inline QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        e.remove(name);
    return e;
}

// A tool's output, or a null string when it fails or takes longer than `ms`.
inline QString tool(const QString &program, const QStringList &args,
                    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(), int ms = 20000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(ms) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return out.isNull() ? QStringLiteral("") : out; // empty but not null: it ran
}

// The tools of `names` that are not installed, separated by blanks.
inline QString missingTools(const QStringList &names)
{
    QString out;
    for (const QString &name : names)
        if (QStandardPaths::findExecutable(name).isEmpty())
            out += name + QLatin1Char(' ');
    return out;
}

// Set where a suite's private server or desktop cannot start: its main then
// ends with 77, skipped to ctest, unless something failed.
inline bool g_missing = false;

} // namespace kugelfon::test

#define KUGELFON_TEST_MAIN(TestObject) \
    int main(int argc, char *argv[]) \
    { \
        QTEST_MAIN_SETUP() \
        TestObject tc; \
        QTEST_SET_MAIN_SOURCE_PATH \
        const int failed = QTest::qExec(&tc, argc, argv); \
        return failed == 0 && kugelfon::test::g_missing ? 77 : failed; \
    }
