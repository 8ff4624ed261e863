#include "platform/alsasoundoutput.h"
#include "platform/qtresources.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include <unistd.h>

using namespace kugelfon;

namespace {

const QString sinkName = QStringLiteral("kugelfon_test");
constexpr int captureRate = 22050;

QList<double> samplesOf(const char *p, qsizetype bytes)
{
    QList<double> s;
    s.reserve(bytes / 2);
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    for (qsizetype i = 0; i + 1 < bytes; i += 2)
        s << qint16(quint16(u[i] | (u[i + 1] << 8))) / 32768.0;
    return s;
}

qsizetype onset(const QList<double> &s)
{
    for (qsizetype i = 0; i < s.size(); ++i)
        if (std::abs(s[i]) > 0.02)
            return i;
    return -1;
}

// Normalised cross-correlation of recording[from..to) with the captured
// stream shifted by lag.
double correlationAt(const QList<double> &recording, const QList<double> &captured, qsizetype lag,
                     qsizetype from, qsizetype to)
{
    if (lag < 0 || lag + to > captured.size())
        return 0;
    const double *rec = recording.constData();
    const double *cap = captured.constData() + lag;
    double dot = 0, recEnergy = 0, capEnergy = 0;
    for (qsizetype i = from; i < to; ++i) {
        const double r = rec[i];
        const double c = cap[i];
        dot += r * c;
        recEnergy += r * r;
        capEnergy += c * c;
    }
    return recEnergy > 0 && capEnergy > 0 ? dot / std::sqrt(recEnergy * capEnergy) : 0;
}

struct Match {
    double score = 0;
    qsizetype lag = -1;
};

// Best correlation of the whole recording against the stream, over lags
// around where both first rise above silence.
Match bestMatch(const QList<double> &recording, const QList<double> &captured)
{
    const qsizetype r0 = onset(recording);
    const qsizetype c0 = onset(captured);
    Match best;
    if (r0 < 0 || c0 < 0)
        return best;
    for (qsizetype lag = c0 - r0 - 1500; lag <= c0 - r0 + 1500; ++lag) {
        const double score = correlationAt(recording, captured, lag, 0, recording.size());
        if (score > best.score)
            best = {score, lag};
    }
    return best;
}

// What the process writes to stderr while f runs.
QByteArray stderrDuring(const std::function<void()> &f)
{
    QTemporaryFile file;
    if (!file.open())
        return "cannot open temp file";
    fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    f();
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    return file.readAll();
}

// Two calls that cannot play: both return within maxMs, the first leaves one
// line on stderr that names the device, the second nothing. Empty if so.
QString failsTwiceWarningOnce(AlsaSoundOutput &output, const QByteArray &image, qint64 maxMs)
{
    for (int call = 1; call <= 2; ++call) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray printed = stderrDuring([&] { output.playWave(image); });
        const bool warned = printed.count('\n') == 1 && printed.endsWith('\n') && printed.contains("„default“");
        if (timer.elapsed() > maxMs || (call == 1 ? !warned : !printed.isEmpty()))
            return QStringLiteral("call %1 took %2 ms, printed: %3")
                .arg(call).arg(timer.elapsed()).arg(QString::fromUtf8(printed));
    }
    return {};
}

bool waitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

class TestRealSound : public QObject {
    Q_OBJECT

private slots:
    void badImagesReturnAtOnceAndSilently();
    void playsTheRecordingToTheEnd();
    void stalledSinkGivesUpSoonAndWarnsOnce();
    void unreachableServerWarnsOnce();
    void cleanup();

private:
    // Empty when the private server and its monitor capture run.
    QString startServer();
    bool suspendSink(bool suspend);
    void stopProcess(QProcess &p);

    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_capture;
};

QString TestRealSound::startServer()
{
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
    if (pulseaudio.isEmpty() || parec.isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
        return QStringLiteral("pulseaudio, parec or pactl is not installed");
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder");

    // Keep the server off the user's configuration, cookie and session bus.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("PULSE_SERVER"));

    const QString socket = m_dir.filePath(QStringLiteral("native"));
    m_server.setProcessEnvironment(env);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.setStandardOutputFile(QProcess::nullDevice());
    // Running as root (as in CI) only draws a warning without --system.
    m_server.start(pulseaudio, {
        QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
        QStringLiteral("--disallow-exit"), QStringLiteral("--use-pid-file=no"),
        QStringLiteral("--disable-shm=yes"), QStringLiteral("--log-level=error"),
        QStringLiteral("--load=module-null-sink sink_name=%1").arg(sinkName),
        QStringLiteral("--load=module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket)});
    if (!m_server.waitForStarted(5000))
        return QStringLiteral("pulseaudio does not start: %1").arg(m_server.errorString());
    if (!waitUntil([&] { return QFile::exists(socket) || m_server.state() != QProcess::Running; }, 10000)
        || m_server.state() != QProcess::Running)
        return QStringLiteral("pulseaudio did not come up");

    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);
    m_capture.setProcessEnvironment(env);
    m_capture.setStandardErrorFile(QProcess::nullDevice());
    m_capture.start(parec, {
        QStringLiteral("--latency-msec=20"), QStringLiteral("-d"), sinkName + QStringLiteral(".monitor"),
        QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
        QStringLiteral("--rate=%1").arg(captureRate), QStringLiteral("--channels=1")});
    if (!m_capture.waitForStarted(5000))
        return QStringLiteral("parec does not start: %1").arg(m_capture.errorString());
    // The monitor of a null sink streams silence from the start.
    if (!waitUntil([&] { return m_capture.bytesAvailable() >= 4410 || m_capture.state() != QProcess::Running; },
                   10000)
        || m_capture.state() != QProcess::Running)
        return QStringLiteral("parec records nothing");

    qputenv("PULSE_SERVER", (QStringLiteral("unix:") + socket).toLocal8Bit());
    return {};
}

bool TestRealSound::suspendSink(bool suspend)
{
    QProcess pactl;
    pactl.setProcessEnvironment(m_capture.processEnvironment());
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("suspend-sink"), sinkName,
                                          suspend ? QStringLiteral("1") : QStringLiteral("0")});
    if (!pactl.waitForFinished(5000)) {
        pactl.kill();
        pactl.waitForFinished(2000);
        return false;
    }
    return pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
}

void TestRealSound::stopProcess(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(2000);
    }
}

void TestRealSound::cleanup()
{
    stopProcess(m_capture);
    stopProcess(m_server);
    qunsetenv("PULSE_SERVER");
}

void TestRealSound::badImagesReturnAtOnceAndSilently()
{
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 131 + 17) % 251);
    QByteArray noSamples = QtResources().recording(10043).left(44);
    QVERIFY(noSamples.size() == 44);

    AlsaSoundOutput output;
    for (const QByteArray &image : {QByteArray(), garbage, noSamples}) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray printed = stderrDuring([&] { output.playWave(image); });
        QVERIFY2(timer.elapsed() < 300, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(printed, QByteArray());
    }
}

void TestRealSound::playsTheRecordingToTheEnd()
{
    const QString problem = startServer();
    if (!problem.isEmpty())
        QSKIP(qPrintable(problem));

    const QtResources resources;
    const QByteArray image = resources.recording(10043);
    QVERIFY(image.size() > 44);
    const double seconds = (image.size() - 44) / (2.0 * 22050);

    QByteArray captured;
    m_capture.readAllStandardOutput(); // leave only a little silence before the sound
    std::atomic<bool> finished = false;
    qint64 playMs = 0;
    std::thread player([&] {
        QElapsedTimer timer;
        timer.start();
        AlsaSoundOutput().playWave(image);
        playMs = timer.elapsed();
        finished = true;
    });
    // parec is read while the sound plays, or its pipe would fill and the
    // server drop what it records.
    QElapsedTimer wall;
    wall.start();
    while (!finished && wall.elapsed() < 15000) {
        m_capture.waitForReadyRead(20);
        captured += m_capture.readAllStandardOutput();
    }
    player.join(); // playWave is bounded by its own deadline
    QElapsedTimer tail;
    tail.start();
    while (tail.elapsed() < 500) {
        m_capture.waitForReadyRead(20);
        captured += m_capture.readAllStandardOutput();
    }

    // Nothing plays faster than real time, so a call that returns when the
    // sound has ended took at least its length (less a little clock skew).
    QVERIFY2(playMs >= qint64(seconds * 1000) - 20, qPrintable(QString::number(playMs)));

    const QList<double> stream = samplesOf(captured.constData(), captured.size());
    const QList<double> own = samplesOf(image.constData() + 44, image.size() - 44);
    const QByteArray otherImage = resources.recording(10017);
    const QList<double> other = samplesOf(otherImage.constData() + 44, otherImage.size() - 44);
    const Match match = bestMatch(own, stream);
    const double otherScore = bestMatch(other, stream).score;
    // The last 150 ms on their own: a sound cut off before its end would
    // still correlate well as a whole.
    const qsizetype tailFrom = own.size() - captureRate * 15 / 100;
    const double tailScore = correlationAt(own, stream, match.lag, tailFrom, own.size());
    qInfo("correlation with 43: %.3f (last 150 ms %.3f), with 17: %.3f; playWave took %lld ms for %.0f ms",
          match.score, tailScore, otherScore, playMs, seconds * 1000);
    QVERIFY2(match.score >= 0.8, qPrintable(QString::number(match.score)));
    QVERIFY2(tailScore >= 0.8, qPrintable(QString::number(tailScore)));
    QVERIFY2(otherScore <= match.score - 0.3, qPrintable(QString::number(otherScore)));
}

void TestRealSound::stalledSinkGivesUpSoonAndWarnsOnce()
{
    if (const QString problem = startServer(); !problem.isEmpty())
        QSKIP(qPrintable(problem));
    const QByteArray image = QtResources().recording(10043);
    const qint64 soundMs = (image.size() - 44) * 1000 / (2 * 22050);
    QVERIFY(suspendSink(true));

    // A stopped device costs a step at most half a second beyond the sound.
    AlsaSoundOutput output;
    const QString problem = failsTwiceWarningOnce(output, image, soundMs + 500);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // Once the device moves again, sounds play to their end.
    QVERIFY(suspendSink(false));
    QElapsedTimer timer;
    timer.start();
    const QByteArray printed = stderrDuring([&] { output.playWave(image); });
    QVERIFY2(timer.elapsed() >= soundMs - 20, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(printed, QByteArray());
}

void TestRealSound::unreachableServerWarnsOnce()
{
    // Whether the default device leads to a dead server or to no card at
    // all, the call comes back at once and says so, the first time only.
    qputenv("PULSE_SERVER", QByteArray("unix:") + m_dir.filePath(QStringLiteral("gone")).toLocal8Bit());
    AlsaSoundOutput output;
    const QString problem = failsTwiceWarningOnce(output, QtResources().recording(10043), 500);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_GUILESS_MAIN(TestRealSound)
#include "test_realsound.moc"
