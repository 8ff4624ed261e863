#pragma once

// A private PulseAudio for the sound suite and the bench: its own socket and
// folders, null sinks, and readers on their monitors writing to files.

#include "fakes/testkit.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

namespace kugelfon::test {

class PulseServer {
public:
    // A null sink and, unless readerMs is 0, a reader recording its monitor
    // (16 bit, mono, 22050 Hz) with that latency; -1: parec's own, large one.
    struct Sink {
        QString name;
        int readerMs = 0;
    };
    explicit PulseServer(QList<Sink> sinks) : m_sinks(std::move(sinks)) {}
    ~PulseServer() { end(); }

    // Empty once the server and its readers run, else why not. PULSE_SERVER
    // of this process then leads to it.
    QString start()
    {
        if (const QString missing = missingTools({"pulseaudio", "parec", "pactl"}); !missing.isEmpty())
            return "not installed: " + missing;
        QStringList args{"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                         "--disable-shm=yes", "--log-level=error"};
        for (const Sink &sink : m_sinks)
            args << "--load=module-null-sink sink_name=" + sink.name;
        QFile::remove(socket()); // a killed server's
        m_server.setProcessEnvironment(environment());
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start("pulseaudio", args << "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket());
        const auto listens = [&] { return QFile::exists(socket()) || m_server.state() != QProcess::Running; };
        if (!m_server.waitForStarted(5000) || !QTest::qWaitFor(listens, 10000) || m_server.state() != QProcess::Running)
            return "pulseaudio does not come up: " + m_server.errorString();
        qputenv("PULSE_SERVER", ("unix:" + socket()).toLocal8Bit());
        for (const Sink &sink : m_sinks) {
            if (sink.readerMs == 0)
                continue;
            QProcess &reader = *m_readers.emplace_back(std::make_unique<QProcess>());
            reader.setProcessEnvironment(environment());
            reader.setStandardOutputFile(captureFile(sink.name), QIODevice::Append);
            reader.setStandardErrorFile(QProcess::nullDevice());
            QStringList args{"-d", sink.name + ".monitor", "--raw", "--format=s16le", "--rate=22050", "--channels=1"};
            if (sink.readerMs > 0)
                args << QStringLiteral("--latency-msec=%1").arg(sink.readerMs);
            const qint64 before = captured(sink.name);
            reader.start("parec", args);
            const auto streams = [&] { return captured(sink.name) >= before + 4410 || reader.state() != QProcess::Running; };
            if (!reader.waitForStarted(5000) || !QTest::qWaitFor(streams, 10000) || reader.state() != QProcess::Running)
                return "parec records nothing: " + reader.errorString();
        }
        return {};
    }
    // Killed without warning and started again on the same socket, as a
    // desktop's sound server restarts; its readers too.
    QString restart()
    {
        if (pid() > 0)
            ::kill(pid(), SIGKILL);
        end();
        return start();
    }

    pid_t pid() const { return pid_t(m_server.processId()); }
    QString socket() const { return m_dir.filePath("native"); }
    bool pactl(const QStringList &args) const { return !tool("pactl", args, environment(), 5000).isNull(); }
    QString captureFile(const QString &sink) const { return m_dir.filePath(sink + ".raw"); }
    qint64 captured(const QString &sink) const { return QFileInfo(captureFile(sink)).size() & ~1; }

private:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto &[var, dir] : {std::pair{"HOME", ""}, {"XDG_RUNTIME_DIR", ""}, {"XDG_CONFIG_HOME", "config"},
                                       {"PULSE_RUNTIME_PATH", "runtime"}, {"PULSE_STATE_PATH", "state"}})
            env.insert(var, m_dir.filePath(dir));
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        env.insert("PULSE_SERVER", "unix:" + socket());
        return env;
    }
    void end()
    {
        for (auto &reader : m_readers)
            stop(*reader);
        m_readers.clear();
        if (m_server.state() != QProcess::NotRunning)
            ::kill(pid(), SIGCONT); // a stopped server does not hear the end
        stop(m_server);
    }

    QList<Sink> m_sinks;
    QTemporaryDir m_dir;
    QProcess m_server;
    std::vector<std::unique_ptr<QProcess>> m_readers;
};

} // namespace kugelfon::test
