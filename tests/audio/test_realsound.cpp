// Real sound through ALSA's "default" device into a private PulseAudio: calls
// heard whole and in turn where the device plays; where it does not, a call
// costs its sound plus half a second at most, told once per failure, in German.
#include "fakes/testkit.h"
#include "servers/pulseserver.h"
#include "platform/linux/alsasoundoutput.h"
#include "platform/qt/qtresources.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <csignal>
#include <optional>
#include <unistd.h>

using namespace kugelfon;
using kugelfon::test::eventually;

namespace {

const QString kAwake = "kugelfon_awake"; // its reader keeps it awake
const QString kLate = "kugelfon_late";   // a plain reader: it sleeps between streams
const QString kAhead = "kugelfon_ahead"; // a slower reader: it renders 150 ms ahead
constexpr qsizetype kRate = 22050;

QList<double> samplesOf(const QByteArray &pcm)
{
    QList<double> s;
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
        s << qFromLittleEndian<qint16>(pcm.constData() + i) / 32768.0;
    return s;
}

// Normalised correlation of sound[from..] with the stream shifted by lag.
double correlation(const QList<double> &sound, const QList<double> &stream, qsizetype lag, qsizetype from = 0,
                   qsizetype step = 1)
{
    if (lag < 0 || lag + sound.size() > stream.size())
        return 0;
    // Plain pointers: QList's checked access makes the sanitizer build's
    // searches take seconds.
    const double *a = sound.constData(), *b = stream.constData() + lag;
    double dot = 0, soundEnergy = 0, streamEnergy = 0;
    for (qsizetype i = from; i < sound.size(); i += step) {
        dot += a[i] * b[i];
        soundEnergy += a[i] * a[i];
        streamEnergy += b[i] * b[i];
    }
    return soundEnergy > 0 && streamEnergy > 0 ? dot / std::sqrt(soundEnergy * streamEnergy) : 0;
}

qsizetype loudFrom(const QList<double> &s, qsizetype from)
{
    while (from < s.size() && std::abs(s[from]) <= 0.02)
        ++from;
    return from;
}

// The best correlation of sound[from..] with the stream at lags lo..hi, and
// that lag: on every 4th sample in lag steps of `step`, then exactly around
// the best.
std::pair<double, qsizetype> bestLag(const QList<double> &sound, const QList<double> &stream, qsizetype lo,
                                     qsizetype hi, qsizetype from, qsizetype step = 4)
{
    std::pair<double, qsizetype> found{0, -1};
    for (qsizetype lag = lo; lag <= hi; lag += step)
        found = std::max(found, {correlation(sound, stream, lag, from, 4), lag});
    for (qsizetype lag = found.second - 3, coarse = found.second; lag <= coarse + 3; ++lag)
        found = std::max(found, {correlation(sound, stream, lag, from), lag});
    return found;
}

// Where the sound lies whole in the stream from `from` on, its last 150 ms
// found on their own too (a call cut short still correlates well as a whole);
// -1 if nowhere. The first 200 ms do not count: a sink rendering ahead is
// wound back when a stream starts, which garbles the start on its monitor.
// The tail may lie up to 50 ms off: a starved server or recorder drops or
// stretches a little of what it passes on.
qsizetype heardAt(const QList<double> &sound, const QList<double> &stream, qsizetype from, QString *best = nullptr)
{
    const qsizetype onset = loudFrom(sound, 0);
    for (qsizetype start = loudFrom(stream, from); start < stream.size();) {
        const auto whole = bestLag(sound, stream, start - onset - 1500, start - onset + 1500, kRate / 5);
        // Every lag: a tail of hissing consonants ("-zig") correlates only
        // within a sample of its place. Sought only behind a whole that fits.
        const auto tail = whole.first < 0.6 ? std::pair<double, qsizetype>{0, -1}
                                            : bestLag(sound, stream, whole.second - kRate / 20,
                                                      whole.second + kRate / 20, sound.size() - kRate * 15 / 100, 1);
        if (best)
            *best += QStringLiteral(" %1/%2@%3").arg(whole.first, 0, 'f', 2).arg(tail.first, 0, 'f', 2).arg(whole.second);
        // Cut short scores near 0; a starved server's glitches cost 0.3 at most.
        if (whole.first >= 0.6 && tail.first >= 0.6)
            return whole.second;
        qsizetype quiet = 0;
        while (start < stream.size() && quiet < kRate / 50)
            quiet = std::abs(stream[start++]) <= 0.02 ? quiet + 1 : 0;
        start = loudFrom(stream, start);
    }
    return -1;
}

// `ms` of a sine at `hz` behind a recording's header: its pitch tells a call
// apart in the capture.
const QList<int> kTones{500, 800, 1100, 1400, 1700, 2000}; // 'A' to 'F'
QByteArray tone(int hz, int ms = 80)
{
    QByteArray wave = QtResources().recording(10002).left(44) + QByteArray(kRate * ms / 500, 0);
    qToLittleEndian(quint32(wave.size() - 44), wave.data() + 40);
    for (int i = 0; 44 + 2 * i < wave.size(); ++i)
        qToLittleEndian(qint16(12000 * std::sin(2 * M_PI * hz * i / kRate)), wave.data() + 44 + 2 * i);
    return wave;
}

enum class Situation { Awake, Ahead, Late, Restarted, Suspended, Stopped, Gone };

} // namespace

Q_DECLARE_METATYPE(Situation)

class TestRealSound : public QObject {
    Q_OBJECT
private:
    test::PulseServer m_pulse{{{kAwake, 20}, {kLate, -1}, {kAhead, 150}}};
    QString m_why; // why there is no server

    QString captureFile(const QString &sink) const { return m_pulse.captureFile(sink); }
    qint64 captured(const QString &sink) const { return m_pulse.captured(sink); }

    // The tones heard on the awake sink since `from`, in order, each where it
    // fills 40 ms: per 10 ms, the pitch that carries most of the sound.
    QString tonesSince(qint64 from) const
    {
        QFile f(captureFile(kAwake));
        const QList<double> s = f.open(QIODevice::ReadOnly) && f.seek(from) ? samplesOf(f.readAll()) : QList<double>();
        constexpr qsizetype frame = kRate / 100;
        QString out, run;
        for (qsizetype at = 0; at + frame <= s.size(); at += frame) {
            QChar heard = '.';
            for (int t = 0; t < kTones.size(); ++t) {
                std::complex<double> sum;
                double energy = 0;
                for (qsizetype i = 0; i < frame; ++i)
                    sum += std::polar(s[at + i], 2 * M_PI * kTones[t] * i / kRate), energy += s[at + i] * s[at + i];
                if (energy > frame * 1e-4 && 2 * std::norm(sum) / frame > 0.6 * energy)
                    heard = QChar('A' + t);
            }
            run = run.endsWith(heard) ? run + heard : QString(heard);
            if (run.size() == 4 && heard != '.' && !out.endsWith(heard))
                out += heard;
        }
        return out;
    }

    bool pactl(const QStringList &args) { return m_pulse.pactl(args); }

    // Empty once every sound is heard whole on the sink after `from`, in
    // order, each within `pause` samples of the one before if given; else
    // the scores of the first one missing.
    QString unheard(const QString &sink, qint64 from, const QList<QByteArray> &images, qsizetype pause = -1) const
    {
        QFile f(captureFile(sink));
        const QList<double> s = f.open(QIODevice::ReadOnly) && f.seek(from) ? samplesOf(f.readAll()) : QList<double>();
        qsizetype at = 0;
        for (qsizetype i = 0; i < images.size(); ++i) {
            const QList<double> own = samplesOf(images[i].mid(44));
            QString scores;
            const qsizetype lag = heardAt(own, s, at, &scores);
            if (lag < 0)
                return QStringLiteral("call %1 not heard whole, scores%2").arg(i + 1).arg(scores);
            if (pause >= 0 && i > 0 && lag - at > pause)
                return QStringLiteral("call %1 began %2 ms after the one before ended").arg(i + 1).arg((lag - at) * 1000 / kRate);
            at = lag + own.size();
        }
        return {};
    }

private slots:
    void initTestCase() { m_why = m_pulse.start(); }

    void init()
    {
        if (!m_why.isEmpty()) {
            test::g_missing = true;
            QSKIP(qPrintable(m_why));
        }
        QVERIFY(pactl({"set-default-sink", kAwake}));
    }

    void calls_data()
    {
        QTest::addColumn<Situation>("situation");
        QTest::addColumn<QList<QByteArray>>("images");
        QTest::addColumn<int>("gapMs");   // from one call's start to the next
        QTest::addColumn<int>("boundMs"); // most a call may take; 0: its sound plus 500 ms
        const QList<QByteArray> two{QtResources().recording(10043), QtResources().recording(20017)};
        QTest::newRow("awake sink") << Situation::Awake << two << 0 << 0;
        // As after a server restart that left the sink rendering ahead: the
        // server tells an underrun when it has taken a call, not played it.
        QTest::newRow("sink rendering ahead")
            << Situation::Ahead << QList{tone(kTones[1], 700), tone(kTones[3], 700), tone(kTones[0], 700)} << 1000 << 0;
        // Three steps 1.3 s apart on a sink that wakes up after about 2 s: the
        // calls waiting for it follow one another, without waking it again.
        QTest::newRow("late sink") << Situation::Late << (two + QList{QtResources().recording(10088)}) << 1300 << 0;
        // Killed and started again between games, as a desktop's sound server
        // restarts, its sink read as plainly as a desktop's: the calls of the
        // next game each heard whole and alone.
        QTest::newRow("server restarted")
            << Situation::Restarted << QList{tone(kTones[1], 900), tone(kTones[3], 900), tone(kTones[0], 900), tone(kTones[2], 900)} << 1000 << 0;
        QTest::newRow("suspended sink") << Situation::Suspended << two << 0 << 0;
        QTest::newRow("server stopped") << Situation::Stopped << two << 0 << 0;
        QTest::newRow("server gone") << Situation::Gone << two << 0 << 300;
    }

    void calls()
    {
        QFETCH(Situation, situation);
        QFETCH(QList<QByteArray>, images);
        QFETCH(int, gapMs);
        QFETCH(int, boundMs);
        if (situation == Situation::Restarted)
            QCOMPARE(m_pulse.restart(), QString());
        const bool fails = situation >= Situation::Suspended;
        const QString sink = situation == Situation::Late || situation == Situation::Restarted ? kLate
            : situation == Situation::Ahead ? kAhead : kAwake;
        // Chosen for the calls alone: as the default it would draw the awake
        // sink's fast reader along.
        const bool chosen = situation == Situation::Ahead || situation == Situation::Restarted;
        QVERIFY(pactl({"set-default-sink", chosen ? kAwake : sink}));
        if (chosen)
            qputenv("PULSE_SINK", sink.toLatin1());
        const auto defaultSink = qScopeGuard([] { qunsetenv("PULSE_SINK"); });
        const qint64 from = captured(sink);
        const QByteArray after = QtResources().recording(10077);

        const QByteArray server = qgetenv("PULSE_SERVER");
        const pid_t pid = m_pulse.pid();
        const auto undo = [&] {
            qputenv("PULSE_SERVER", server);
            ::kill(pid, SIGCONT);
            return pactl({"suspend-sink", kAwake, "0"});
        };
        const auto guard = qScopeGuard(undo);
        if (situation == Situation::Suspended)
            QVERIFY(pactl({"suspend-sink", kAwake, "1"}));
        if (situation == Situation::Gone)
            qputenv("PULSE_SERVER", ("unix:" + m_pulse.socket() + ".gone").toLocal8Bit());
        if (situation == Situation::Stopped)
            QCOMPARE(::kill(pid, SIGSTOP), 0);

        QTemporaryFile printed;
        QVERIFY(printed.open());
        std::fflush(stderr);
        const int stderrSaved = dup(STDERR_FILENO);
        dup2(printed.handle(), STDERR_FILENO);
        const auto restore = qScopeGuard([&] {
            std::fflush(stderr);
            dup2(stderrSaved, STDERR_FILENO);
            close(stderrSaved);
        });
        QStringList notices;
        std::optional<AlsaSoundOutput> output(std::in_place);
        output->setFailureHandler([&](const QString &text) { notices << text; });
        QElapsedTimer clock;
        clock.start();
        // The window thread looks up from the wait now and then.
        QElapsedTimer call, look;
        qint64 blind = 0;
        output->setWaitHandler([&] { blind = std::max(blind, look.restart()); });
        for (qsizetype i = 0; i < images.size(); ++i) {
            // A quiet lead-in: the capture holds silence before the first call.
            (void)QTest::qWaitFor([&] { return clock.elapsed() >= 300 + i * gapMs; }, 10000);
            const qint64 soundMs = (images[i].size() - 44) * 1000 / (2 * kRate);
            const qint64 bound = boundMs > 0 ? boundMs : soundMs + 500;
            blind = 0, call.start(), look.start();
            output->playWave(images[i]);
            const qint64 ms = call.elapsed();
            blind = std::max(blind, look.elapsed());
            QVERIFY2(ms <= bound && (situation > Situation::Ahead || ms >= soundMs) && blind <= 250,
                     qPrintable(QStringLiteral("call %1 took %2 ms of a %3 ms sound, %4 ms without a look")
                                    .arg(i + 1).arg(ms).arg(soundMs).arg(blind)));
        }
        if (fails)
            QVERIFY2(QTest::qWaitFor([&] { return !notices.isEmpty(); }, 8000), "no failure told");
        else
            QVERIFY2(eventually([&] { return unheard(sink, from, images, gapMs > 0 ? kRate : -1).isEmpty(); }, 8000),
                     qPrintable(unheard(sink, from, images, gapMs > 0 ? kRate : -1)));

        // Once the device plays again, so do the calls.
        if (situation == Situation::Suspended || situation == Situation::Stopped) {
            QVERIFY(undo());
            const qint64 again = captured(kAwake);
            output->playWave(after);
            QVERIFY2(eventually([&] { return unheard(kAwake, again, {after}).isEmpty(); }, 10000),
                     qPrintable(unheard(kAwake, again, {after})));
        }
        output.reset();
        QCoreApplication::processEvents();

        // The first failure only, one line naming the device; the notice in German.
        std::fflush(stderr);
        printed.seek(0);
        const QByteArray line = printed.readAll();
        QCOMPARE(line.count('\n'), fails ? 1 : 0);
        if (!fails) {
            QCOMPARE(notices, QStringList());
            return;
        }
        QVERIFY2(line.endsWith('\n') && line.contains("„default“"), line.constData());
        const QString &notice = notices.first();
        // A device leading nowhere: the packages that make it reach the server.
        QVERIFY2(notice.contains("„default“") && notice.contains("Bitte prüfen Sie")
                     && (situation != Situation::Gone || (notice.contains("„pipewire-alsa“") && notice.contains("„pulseaudio“"))),
                 qPrintable(notice));
    }

    // Calls that wait for the device play in order; beyond four waiting the
    // oldest is left out, and so is a call that waited over 3 s. A device that
    // starts late is no failure; one that fails is told once, however many
    // calls it costs, and again once a call has been heard since.
    void waitingCalls()
    {
        const pid_t pid = m_pulse.pid();
        const auto undo = qScopeGuard([&] { ::kill(pid, SIGCONT), pactl({"suspend-sink", kAwake, "0"}); });
        QStringList notices;
        std::optional<AlsaSoundOutput> output(std::in_place);
        output->setFailureHandler([&](const QString &text) { notices << text; });
        // Six calls while the sink sleeps, woken within the start allowance;
        // the first long enough that the device is seen to take it.
        QVERIFY(pactl({"suspend-sink", kAwake, "1"}));
        const qint64 asleep = captured(kAwake);
        for (int hz : kTones)
            output->playWave(tone(hz, hz == kTones[0] ? 400 : 80));
        QVERIFY(pactl({"suspend-sink", kAwake, "0"}));
        QVERIFY2(eventually([&] { return tonesSince(asleep) == "ACDEF"; }, 8000), qPrintable(tonesSince(asleep)));
        QCOMPARE(notices, QStringList());

        // The server stops answering for over 3 s, twice; a new output, as the
        // first one keeps the late device awake.
        output.emplace().setFailureHandler([&](const QString &text) { notices << text; });
        for (int failure = 1; failure <= 2; ++failure) {
            QCOMPARE(::kill(pid, SIGSTOP), 0);
            for (int hz : kTones.first(3))
                output->playWave(tone(hz, 400));
            QTest::qWait(3000);
            QCOMPARE(::kill(pid, SIGCONT), 0);
            QTest::qWait(1500); // the calls left over from the stop are done with first
            const qint64 from = captured(kAwake);
            output->playWave(tone(kTones[3], 400));
            QVERIFY2(eventually([&] { return tonesSince(from) == "D"; }, 8000), qPrintable(tonesSince(from)));
            QCOMPARE(notices.size(), failure);
            // Only a call known to have played lets the next failure be told.
            QVERIFY2(eventually([&] { return !output->isFailing(); }, 8000), "the call heard is not known as played");
        }
    }
};

KUGELFON_TEST_MAIN(TestRealSound)
#include "test_realsound.moc"
