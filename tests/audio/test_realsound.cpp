// Real sound through ALSA's "default" device into a private PulseAudio: the
// recording is heard whole, a stalled or missing device costs little time
// and is reported once on stderr.
#include "platform/alsasoundoutput.h"
#include "platform/qtresources.h"

#include <QtTest>

#include <cmath>
#include <unistd.h>

using namespace kugelfon;

namespace {

const QString kSink = QStringLiteral("kugelfon_test");

QList<double> samplesOf(const QByteArray &pcm)
{
    QList<double> s;
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
        s << qFromLittleEndian<qint16>(pcm.constData() + i) / 32768.0;
    return s;
}

// Normalised correlation of sound[from..] with the stream shifted by lag.
double correlation(const QList<double> &sound, const QList<double> &stream, qsizetype lag, qsizetype from = 0)
{
    if (lag < 0 || lag + sound.size() > stream.size())
        return 0;
    double dot = 0, soundEnergy = 0, streamEnergy = 0;
    for (qsizetype i = from; i < sound.size(); ++i) {
        dot += sound[i] * stream[lag + i];
        soundEnergy += sound[i] * sound[i];
        streamEnergy += stream[lag + i] * stream[lag + i];
    }
    return soundEnergy > 0 && streamEnergy > 0 ? dot / std::sqrt(soundEnergy * streamEnergy) : 0;
}

// Best correlation of the whole sound with the stream, and its lag, near
// where both first rise above silence.
std::pair<double, qsizetype> bestMatch(const QList<double> &sound, const QList<double> &stream)
{
    const auto onset = [](const QList<double> &s) {
        return std::find_if(s.begin(), s.end(), [](double v) { return std::abs(v) > 0.02; }) - s.begin();
    };
    const qsizetype guess = onset(stream) - onset(sound);
    std::pair<double, qsizetype> best{0, -1};
    for (qsizetype lag = guess - 1500; lag <= guess + 1500; ++lag)
        best = std::max(best, {correlation(sound, stream, lag), lag});
    return best;
}

// One call to playWave: how long it took and what it wrote to stderr.
struct Played {
    qint64 ms = 0;
    QByteArray printed;
    QByteArray text() const { return QByteArray::number(ms) + " ms, printed: " + printed; }
};

Played play(AlsaSoundOutput &output, const QByteArray &image)
{
    QTemporaryFile file;
    if (!file.open())
        return {0, "cannot open temp file"};
    fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    QElapsedTimer timer;
    timer.start();
    output.playWave(image);
    const qint64 ms = timer.elapsed();
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    return {ms, file.readAll()};
}

// Two calls that cannot play: both return within maxMs, the first leaves one
// line on stderr that names the device, the second nothing.
void failsTwiceWarningOnce(AlsaSoundOutput &output, const QByteArray &image, qint64 maxMs)
{
    for (int call = 1; call <= 2; ++call) {
        const Played p = play(output, image);
        const bool warned = p.printed.count('\n') == 1 && p.printed.endsWith('\n') && p.printed.contains("„default“");
        QVERIFY2(p.ms <= maxMs && (call == 1 ? warned : p.printed.isEmpty()),
                 ("call " + QByteArray::number(call) + ": " + p.text()).constData());
    }
}

} // namespace

class TestRealSound : public QObject {
    Q_OBJECT
public:
    bool skipped = false;

private:
    QTemporaryDir m_dir;
    const QString m_captured = m_dir.filePath(QStringLiteral("captured.raw"));
    QProcess m_server;
    QProcess m_capture;

    // Empty when the private server and the capture of its sink run, else why not.
    QString startServer()
    {
        for (const char *tool : {"pulseaudio", "parec", "pactl"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
        // Keep the server off the user's configuration, cookie and session bus.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto &[var, dir] : {std::pair{"HOME", ""}, {"XDG_RUNTIME_DIR", ""}, {"XDG_CONFIG_HOME", "config"},
                                       {"PULSE_RUNTIME_PATH", "runtime"}, {"PULSE_STATE_PATH", "state"}})
            env.insert(QString::fromLatin1(var), m_dir.filePath(QString::fromLatin1(dir)));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
        env.remove(QStringLiteral("PULSE_SERVER"));
        const QString socket = m_dir.filePath(QStringLiteral("native"));
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Running as root (as in CI) only draws a warning without --system.
        m_server.start(QStringLiteral("pulseaudio"),
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                        "--disable-shm=yes", "--log-level=error",
                        QStringLiteral("--load=module-null-sink sink_name=") + kSink,
                        QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        const auto listens = [&] { return QFile::exists(socket) || m_server.state() != QProcess::Running; };
        if (!m_server.waitForStarted(5000) || !QTest::qWaitFor(listens, 10000)
            || m_server.state() != QProcess::Running)
            return QStringLiteral("pulseaudio does not come up: %1").arg(m_server.errorString());

        // A reader with low latency on the sink's monitor writes the sound as
        // played to a file; the monitor of a null sink streams silence from the start.
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);
        m_capture.setProcessEnvironment(env);
        m_capture.setStandardOutputFile(m_captured);
        m_capture.setStandardErrorFile(QProcess::nullDevice());
        m_capture.start(QStringLiteral("parec"), {"--latency-msec=20", "-d", kSink + QStringLiteral(".monitor"),
                                                  "--raw", "--format=s16le", "--rate=22050", "--channels=1"});
        const auto streams = [&] {
            return QFileInfo(m_captured).size() >= 4410 || m_capture.state() != QProcess::Running;
        };
        if (!m_capture.waitForStarted(5000) || !QTest::qWaitFor(streams, 10000)
            || m_capture.state() != QProcess::Running)
            return QStringLiteral("parec records nothing: %1").arg(m_capture.errorString());
        qputenv("PULSE_SERVER", (QStringLiteral("unix:") + socket).toLocal8Bit());
        return {};
    }

    bool pactl(const QStringList &args)
    {
        QProcess p; // reaches the server through PULSE_SERVER; killed on the way out if it hangs
        p.start(QStringLiteral("pactl"), args);
        return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

private slots:
    void cleanup()
    {
        for (QProcess *p : {&m_capture, &m_server}) {
            p->kill();
            p->waitForFinished(3000);
        }
    }

    void playsWholeAndGivesUpSoonOnAStalledSink()
    {
        if (const QString why = startServer(); !why.isEmpty()) {
            skipped = true;
            QSKIP(qPrintable(why));
        }
        const QByteArray image = QtResources().recording(10043);
        const qint64 soundMs = (image.size() - 44) * 1000 / (2 * 22050);
        AlsaSoundOutput output;
        const qint64 before = QFileInfo(m_captured).size() & ~1;
        // Nothing plays faster than real time, so a call that returns when the
        // sound has ended took at least its length (less a little clock skew).
        const Played whole = play(output, image);
        QVERIFY2(whole.ms >= soundMs - 20 && whole.printed.isEmpty(), whole.text().constData());
        QTest::qWait(500); // the tail
        QFile captured(m_captured);
        QVERIFY(captured.open(QIODevice::ReadOnly) && captured.seek(before));
        const QList<double> stream = samplesOf(captured.readAll());
        const QList<double> own = samplesOf(image.mid(44));
        const auto [score, lag] = bestMatch(own, stream);
        // The last 150 ms on their own: a sound cut off before its end would
        // still correlate well as a whole.
        const double tailScore = correlation(own, stream, lag, own.size() - 22050 * 15 / 100);
        QVERIFY2(score >= 0.8 && tailScore >= 0.8, qPrintable(QStringLiteral("%1 %2").arg(score).arg(tailScore)));

        // A stopped device costs a step at most half a second beyond the sound.
        QVERIFY(pactl({"suspend-sink", kSink, "1"}));
        failsTwiceWarningOnce(output, image, soundMs + 500);
        // Once the device moves again, sounds play to their end.
        QVERIFY(pactl({"suspend-sink", kSink, "0"}));
        const Played again = play(output, image);
        QVERIFY2(again.ms >= soundMs - 20 && again.printed.isEmpty(), again.text().constData());
    }

    void unreachableServerWarnsOnce()
    {
        // Whether the default device leads to a dead server or to no card at
        // all, the call comes back at once and says so, the first time only;
        // a missing recording passes in silence before that.
        qputenv("PULSE_SERVER", QByteArray("unix:") + m_dir.filePath(QStringLiteral("gone")).toLocal8Bit());
        AlsaSoundOutput output;
        const Played missing = play(output, QByteArray());
        QVERIFY2(missing.ms < 300 && missing.printed.isEmpty(), missing.text().constData());
        failsTwiceWarningOnce(output, QtResources().recording(10043), 500);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestRealSound test;
    const int failed = QTest::qExec(&test, argc, argv);
    // ctest shows a run without a sound server as skipped, not as passed.
    return failed == 0 && test.skipped ? 77 : failed;
}

#include "test_realsound.moc"
