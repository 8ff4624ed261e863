// Prints how fast Kugelfon starts, steps and plays on this machine.
//
//   kugelfon-bench            all figures
//   kugelfon-bench startup    start-up against a minimal Qt window
//   kugelfon-bench step       "Weiter" click to the number painted
//   kugelfon-bench sound      how much longer playback blocks than the sound
//   kugelfon-bench auto       20 automatic steps at 1 s with real timers
//   kugelfon-bench tickets    ticket printing to PDF and the generator
//   kugelfon-bench walk       the tests' randomized walk on the caller alone
//   kugelfon-bench memory     resident memory over a long evening of games
//   kugelfon-bench hall       "Weiter" click to the hall display painted
//   kugelfon-bench latency    "Weiter" click to the call heard, against bare ALSA
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/program.h"
#include "bench/ticketsbench.h"
#include "bench/hallbench.h"
#include "audio/wavefile.h"
#include "game/caller.h"
#include "platform/qt/realservices.h"
#include "platform/appinfo.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"
#include "game/recordings.h"
#ifdef KUGELFON_BENCH_SERVERS
#include "servers/pulseserver.h"
#endif

#include <alsa/asoundlib.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QFile>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#ifdef KUGELFON_BENCH_FAKES
#include "tests/game/callerwalk.h"
#include "platform/soundoutput.h"
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

using namespace kugelfon;

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Reports the moment a widget has painted for the first time.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void()> then) : m_then(std::move(then)) {}
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && !m_done) {
            m_done = true;
            // After the paint itself has run.
            QTimer::singleShot(0, o, m_then);
        }
        return false;
    }

private:
    std::function<void()> m_then;
    bool m_done = false;
};

class NoSound final : public ISoundOutput {
public:
    void playWave(const QByteArray &) override {}
};

// The real services, but without sound: the figures are about our code.
struct BenchServices {
    RealServices real;
    NoSound sound;
    Services services()
    {
        Services s = real.services();
        s.sound = sound;
        return s;
    }
};

struct Stats {
    double mean = 0, sd = 0, min = 0, max = 0, median = 0;
};

Stats stats(std::vector<double> v)
{
    Stats s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.min = v.front();
    s.max = v.back();
    s.median = v[v.size() / 2];
    s.mean = std::accumulate(v.begin(), v.end(), 0.0) / v.size();
    double sq = 0;
    for (double x : v)
        sq += (x - s.mean) * (x - s.mean);
    s.sd = std::sqrt(sq / v.size());
    return s;
}

// ---- child processes for the start-up figure

int childKugelfon(QApplication &app)
{
    configureApplication(app);
    BenchServices real;
    const Services s = real.services();
    Program program(s);
    program.start();
    // The main window's number frame painting for the first time.
    struct Watch : QObject {
        bool done = false;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (!done && e->type() == QEvent::Paint
                && o->objectName() == QLatin1String("frmZahl")) {
                done = true;
                QTimer::singleShot(0, [] {
                    std::printf("%lld\n", monotonicNs());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
            }
            return false;
        }
    } watch;
    app.installEventFilter(&watch);
    return app.exec();
}

int childMinimal(QApplication &app)
{
    // The same screen as Kugelfon's main window, with a menu bar and a label.
    QMainWindow w;
    w.menuBar()->addMenu(QStringLiteral("&Datei"))->addAction(QStringLiteral("&Beenden"));
    w.setCentralWidget(new QLabel(QStringLiteral("Kugelfon")));
    w.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    FirstPaint watch([] {
        std::printf("%lld\n", monotonicNs());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    w.installEventFilter(&watch);
    w.show();
    return app.exec();
}

double runChild(const QString &mode)
{
    QProcess p;
    const qint64 t0 = monotonicNs();
    p.start(QCoreApplication::applicationFilePath(), {mode});
    if (!p.waitForFinished(20000))
        return -1;
    const qint64 t1 = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toLongLong();
    return (t1 - t0) / 1e6;
}

void benchStartup()
{
    std::vector<double> kugelfon, minimal;
    for (int i = 0; i < 15; ++i) {
        minimal.push_back(runChild(QStringLiteral("--child-minimal")));
        kugelfon.push_back(runChild(QStringLiteral("--child-kugelfon")) - 1500.0);
    }
    const Stats k = stats(kugelfon), m = stats(minimal);
    std::printf("start-up to main window painted (without the 1500 ms splash wait):\n"
                "  Kugelfon        median %.1f ms (min %.1f, max %.1f)\n"
                "  minimal window  median %.1f ms (min %.1f, max %.1f)\n"
                "  ratio           %.2f (goal <= 1.30)\n",
                k.median, k.min, k.max, m.median, m.min, m.max, k.median / m.median);
}

// ---- step: click to number painted

// The main window with its game, as the program puts them together.
struct Game {
    explicit Game(const Services &s) : caller(s), sheet(caller), w(caller, sheet, s) {}
    Caller caller;
    CheckSheet sheet;
    MainWindow w;

    // The window shown full-size on the first screen with a new game; false,
    // told under the figure's name, where the screen has no layout.
    bool start(const char *figure)
    {
        if (!w.startUp()) {
            std::printf("%s: screen size not supported here\n", figure);
            return false;
        }
        w.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        w.showMaximized();
        (void)QTest::qWaitForWindowExposed(&w);
        caller.newGame();
        return true;
    }
};

void benchStep()
{
    BenchServices real;
    const Services s = real.services();
    Game game(s);
    MainWindow &w = game.w;
    if (!game.start("step"))
        return;
    auto *button = w.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    auto *display = w.findChild<QLabel *>(QStringLiteral("lblZahlenfeld"));
    std::vector<double> ms;
    bool painted = false;
    struct Watch : QObject {
        bool *flag;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                *flag = true;
            return false;
        }
    } watch;
    watch.flag = &painted;
    display->installEventFilter(&watch);
    for (int i = 0; i < 70; ++i) {
        QCoreApplication::processEvents();
        painted = false;
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(button, Qt::LeftButton);
        while (!painted && t.elapsed() < 1000)
            QCoreApplication::processEvents();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    const Stats st = stats(ms);
    std::printf("\"Weiter\" click to number painted, 70 steps:\n"
                "  mean %.2f ms, median %.2f ms, max %.2f ms (goal: within 16 ms)\n",
                st.mean, st.median, st.max);
}

// ---- sound: blocking beyond the recording

void benchSound()
{
    QtResources resources;
    AlsaSoundOutput out;
    std::vector<double> extra;
    for (int id : {10002, 10023, 10043, 10077, 10091, 20002, 20023, 20043, 20077, 20091}) {
        const QByteArray image = resources.recording(id);
        const auto wave = parseWave(image);
        if (!wave)
            continue;
        const double lengthMs = 1000.0 * wave->pcmBytes
            / (wave->sampleRate * wave->channels * (wave->bitsPerSample / 8));
        QElapsedTimer t;
        t.start();
        out.playWave(image);
        extra.push_back(t.nsecsElapsed() / 1e6 - lengthMs);
    }
    const Stats st = stats(extra);
    std::printf("sound call blocks longer than the recording, 10 recordings:\n"
                "  median %+.1f ms (min %+.1f, max %+.1f)%s\n",
                st.median, st.min, st.max,
                st.median < -100 ? "  [no sound device: playback was skipped]" : "");
}

// ---- latency: "Weiter" click to the call's first sample in the sink

// A private PulseAudio with a null sink kept awake by a reader with low
// latency on its monitor; the reader's output is timed as it comes in.
class Monitor {
public:
    ~Monitor()
    {
        m_pulse.reset(); // parec ends with its server
        if (m_pipe)
            pclose(m_pipe);
        if (m_reader.joinable())
            m_reader.join();
    }

    // Empty when running, else why not.
    QString start()
    {
#ifdef KUGELFON_BENCH_SERVERS
        m_pulse = std::make_unique<kugelfon::test::PulseServer>(QList<kugelfon::test::PulseServer::Sink>{{"bench"}});
        if (const QString why = m_pulse->start(); !why.isEmpty())
            return why;
#else
        return QStringLiteral("built without the tests' servers");
#endif
        m_pipe = popen("exec parec --latency-msec=20 -d bench.monitor --raw --format=s16le --rate=22050 "
                       "--channels=1 2>/dev/null", "r");
        if (!m_pipe)
            return QStringLiteral("parec does not start");
        m_reader = std::thread([this] {
            char buf[4096];
            for (ssize_t n; (n = read(fileno(m_pipe), buf, sizeof buf)) > 0;) {
                const qint64 t = monotonicNs();
                std::lock_guard lock(m_mutex);
                m_bytes.append(buf, n);
                m_chunks.push_back({m_bytes.size() / 2, t});
            }
        });
        if (!QTest::qWaitFor([&] { return samples() > 22050 / 2; }, 10000))
            return QStringLiteral("parec records nothing");
        return {};
    }
    Monitor() = default;
    Monitor(const Monitor &) = delete;

    qsizetype samples()
    {
        std::lock_guard lock(m_mutex);
        return m_bytes.size() / 2;
    }

    // When the first sample louder than `level` after sample `from` came in,
    // and its index; -1 while none has.
    std::pair<qint64, qsizetype> firstLoud(qsizetype from, double level)
    {
        std::lock_guard lock(m_mutex);
        const auto *s = reinterpret_cast<const qint16 *>(m_bytes.constData());
        for (qsizetype i = from; i < m_bytes.size() / 2; ++i) {
            if (std::abs(s[i]) > level * 32768) {
                const auto chunk = std::lower_bound(m_chunks.begin(), m_chunks.end(), i + 1,
                                                    [](const auto &c, qsizetype v) { return c.first < v; });
                return {chunk->second, i};
            }
        }
        return {-1, -1};
    }

    // Where `count` samples of `pcm` lie in the stream, searched at most
    // `reach` samples either side of `near`: the best correlation, -1 if none.
    qsizetype placed(const qint16 *pcm, qsizetype count, qsizetype near, qsizetype reach)
    {
        std::lock_guard lock(m_mutex);
        const auto *s = reinterpret_cast<const qint16 *>(m_bytes.constData());
        const qsizetype end = m_bytes.size() / 2;
        std::pair<double, qsizetype> best{0, -1};
        for (qsizetype lag = std::max<qsizetype>(near - reach, 0); lag <= near + reach && lag + count <= end; ++lag) {
            double dot = 0, energy = 0;
            for (qsizetype i = 0; i < count; ++i) {
                dot += double(pcm[i]) * s[lag + i];
                energy += double(s[lag + i]) * s[lag + i];
            }
            best = std::max(best, {energy > 0 ? dot / std::sqrt(energy) : 0, lag});
        }
        return best.second;
    }

    // When the sample at `index` came in.
    qint64 arrivedAt(qsizetype index)
    {
        std::lock_guard lock(m_mutex);
        const auto chunk = std::lower_bound(m_chunks.begin(), m_chunks.end(), index + 1,
                                            [](const auto &c, qsizetype v) { return c.first < v; });
        return chunk == m_chunks.end() ? -1 : chunk->second;
    }

private:
#ifdef KUGELFON_BENCH_SERVERS
    std::unique_ptr<kugelfon::test::PulseServer> m_pulse;
#else
    std::unique_ptr<int> m_pulse;
#endif
    FILE *m_pipe = nullptr;
    std::thread m_reader;
    std::mutex m_mutex;
    QByteArray m_bytes;
    std::vector<std::pair<qsizetype, qint64>> m_chunks; // samples so far, when they came
};

// What ALSA alone needs from a running process: open, set up, write, and
// wait for the end (polled: a blocking drain can hang on PulseAudio).
void bareAlsaWrite(const WaveData &wave)
{
    snd_pcm_t *pcm = nullptr;
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return;
    QElapsedTimer t;
    t.start();
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(wave.channels), unsigned(wave.sampleRate), 1, 200000) == 0) {
        const char *data = wave.pcm;
        auto left = snd_pcm_uframes_t(wave.pcmBytes / (2 * wave.channels));
        while (left > 0 && t.elapsed() < 5000) {
            const snd_pcm_sframes_t n = snd_pcm_writei(pcm, data, left);
            if (n == -EAGAIN)
                snd_pcm_wait(pcm, 20);
            else if (n < 0)
                break;
            else {
                data += n * 2 * wave.channels;
                left -= snd_pcm_uframes_t(n);
            }
        }
        snd_pcm_sframes_t delay = 0;
        while (t.elapsed() < 5000 && snd_pcm_state(pcm) == SND_PCM_STATE_RUNNING
               && snd_pcm_delay(pcm, &delay) == 0 && delay > 0)
            QThread::msleep(5);
    }
    snd_pcm_close(pcm);
}

void benchLatency()
{
    Monitor monitor;
    if (const QString why = monitor.start(); !why.isEmpty()) {
        std::printf("latency: %s\n", qPrintable(why));
        return;
    }
    constexpr double level = 0.02;
    RealServices real; // the real sound, into the private server
    const Services s = real.services();
    Game game(s);
    MainWindow &w = game.w;
    if (!game.start("latency"))
        return;
    auto *button = w.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    auto *display = w.findChild<QLabel *>(QStringLiteral("lblZahlenfeld"));

    // Time from `start` to the call's first sample in the monitor, placed by
    // correlation near its first loud sample. The loud sample's own time less
    // the quiet the recording opens with is off by up to 50 ms where a soft
    // consonant opens it: resampled by the server, its samples cross the
    // level at other places than in the recording.
    const auto heard = [&](qint64 start, qsizetype from, const WaveData &wave) {
        const auto *pcm = reinterpret_cast<const qint16 *>(wave.pcm);
        qsizetype lead = 0;
        while (std::abs(pcm[lead]) <= level * 32768)
            ++lead;
        std::pair<qint64, qsizetype> loud{-1, -1};
        (void)QTest::qWaitFor([&] { return (loud = monitor.firstLoud(from, level)).first >= 0; }, 5000);
        QTest::qWait(300); // its tail, before the next
        if (loud.first < 0)
            return -1.0;
        const qsizetype count = std::min<qsizetype>(lead + wave.sampleRate / 5, wave.pcmBytes / 2);
        const qsizetype at = monitor.placed(pcm, count, loud.second - lead, wave.sampleRate / 10);
        const qint64 arrived = at < 0 ? -1 : monitor.arrivedAt(at);
        return arrived < 0 ? -1.0 : (arrived - start) / 1e6;
    };
    std::vector<double> kugelfon, floor;
    const QtResources resources;
    for (int i = 0; i < 30; ++i) {
        qsizetype from = monitor.samples();
        qint64 start = monotonicNs();
        QTest::mouseClick(button, Qt::LeftButton);
        const QByteArray image = resources.recording(numberRecording(Voice::Female, display->text().toInt()));
        const std::optional<WaveData> wave = parseWave(image);
        if (!wave)
            return;
        kugelfon.push_back(heard(start, from, *wave));
        from = monitor.samples();
        start = monotonicNs();
        bareAlsaWrite(*wave);
        floor.push_back(heard(start, from, *wave));
    }
    const Stats k = stats(kugelfon), f = stats(floor);
    std::printf("\"Weiter\" click to the call's first sample in the sink, 30 calls, kept-awake sink:\n"
                "  Kugelfon        median %.1f ms, worst %.1f ms\n"
                "  bare ALSA write median %.1f ms, worst %.1f ms\n"
                "  Kugelfon later by %.1f ms in the median (goal: within 20 ms)\n",
                k.median, k.max, f.median, f.max, k.median - f.median);
}

// ---- automatic stepping with real timers

void benchAuto()
{
    BenchServices real;
    const Services s = real.services();
    Game game(s);
    MainWindow &w = game.w;
    if (!game.start("auto"))
        return;
    game.caller.takeCustomInterval(1);
    auto *display = w.findChild<QLabel *>(QStringLiteral("lblZahlenfeld"));
    std::vector<qint64> shownAt;
    QString last;
    QElapsedTimer clock;
    clock.start();
    game.caller.pressStep();
    const qint64 started = clock.nsecsElapsed();
    while (shownAt.size() < 21 && clock.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (display->text() != last && !display->text().isEmpty()) {
            last = display->text();
            shownAt.push_back(clock.nsecsElapsed());
        }
    }
    std::vector<double> periods;
    qint64 prev = started;
    for (qint64 t : shownAt) {
        periods.push_back((t - prev) / 1e6);
        prev = t;
    }
    if (!periods.empty())
        periods.erase(periods.begin()); // the first tick also draws the order
    const Stats st = stats(periods);
    std::printf("automatic stepping at 1 s, %zu periods:\n"
                "  mean %.2f ms, spread (sd) %.2f ms, min %.2f, max %.2f\n"
                "  (goal: mean within 5 ms of 1000, no step later than 20 ms)\n",
                periods.size(), st.mean, st.sd, st.min, st.max);
}

#ifdef KUGELFON_BENCH_FAKES
// ---- the randomized walk of the tests, on the caller alone

void benchWalk()
{
    constexpr qint64 actions = 1000000;
    test::CallerWalk walk(20261206);
    QElapsedTimer t;
    t.start();
    const QString fault = walk.run(actions);
    const double seconds = t.nsecsElapsed() / 1e9;
    std::printf("randomized walk on the caller, %lld actions in %.2f s:\n"
                "  %.0f actions per second (goal: at least 100000)%s\n",
                actions, seconds, actions / seconds,
                fault.isEmpty() ? "" : "  [the walk found a fault]");
}

// ---- memory over a long evening

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line; !(line = status.readLine()).isEmpty();)
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Automatic games at 5 s on fake timers and fake sound through the main
// window, each with a claim answered Ja and run to the end of the pool.
void benchMemory()
{
    // The offscreen platform warns on every raise() of the check sheet.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &c,
                                         const QString &text) {
        if (!text.startsWith(QLatin1String("This plugin does not support")))
            previous(type, c, text);
    });
    test::FakeServices fakes;
    const Services s = fakes.services();
    Game game(s);
    MainWindow &w = game.w;
    if (!w.startUp()) {
        std::printf("memory: screen size not supported here\n");
        return;
    }
    w.show();
    w.findChild<QAction *>(QStringLiteral("mnu5Sec"))->trigger();
    w.findChild<QAction *>(QStringLiteral("mnuNew"))->trigger();
    auto *step = w.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    auto *bingo = w.findChild<QPushButton *>(QStringLiteral("cmdBingo"));
    test::FakeTimer *autoTimer = fakes.timers.timer(TimerRole::AutoStep);
    test::FakeTimer *letters = fakes.timers.timer(TimerRole::BingoLetters);
    qint64 called = 0;
    long afterFirstGame = 0;
    long afterThousand = 0;
    while (called < 10000) {
        QTest::mouseClick(step, Qt::LeftButton); // "Start"
        for (int n = 1; autoTimer->tick(); ++n) {
            QCoreApplication::processEvents();
            if (n == 40) {
                QTest::mouseClick(bingo, Qt::LeftButton);
                while (letters->tick())
                    QCoreApplication::processEvents();
                QTest::mouseClick(step, Qt::LeftButton); // "Start" again
            }
        }
        called += fakes.sound.played.size() - 1; // less the "Bingo!"
        fakes.sound.played.clear();
        fakes.messages.shown.clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (afterFirstGame == 0)
            afterFirstGame = residentKb();
        if (afterThousand == 0 && called >= 1000)
            afterThousand = residentKb();
    }
    const long after = residentKb();
    std::printf("resident memory, automatic games with a claim each, fake timers and sound:\n"
                "  after the first game %ld kB, after 1,000 numbers %ld kB, after %lld numbers"
                " %ld kB\n  growth %+ld kB since the first game, %+ld kB since 1,000 numbers"
                " (goal: no growth)\n",
                afterFirstGame, afterThousand, called, after, after - afterFirstGame,
                after - afterThousand);
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        // A screen of a supported size; the children inherit it.
        const QByteArray path = QDir::tempPath().toLocal8Bit() + "/kugelfon-bench-screen.json";
        QFile f(QString::fromLocal8Bit(path));
        if (f.open(QIODevice::WriteOnly))
            f.write(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 1280, "height": 1024,)"
                    R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        f.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path);
    }
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("--child-kugelfon"))
        return childKugelfon(app);
    if (mode == QLatin1String("--child-minimal"))
        return childMinimal(app);

    const bool all = mode.isEmpty();
    if (all || mode == QLatin1String("startup"))
        benchStartup();
    if (all || mode == QLatin1String("step"))
        benchStep();
    if (all || mode == QLatin1String("latency"))
        benchLatency();
    if (all || mode == QLatin1String("sound"))
        benchSound();
    if (all || mode == QLatin1String("auto"))
        benchAuto();
    if (all || mode == QLatin1String("tickets"))
        benchTickets();
    if (all || mode == QLatin1String("hall"))
        benchHall();
#ifdef KUGELFON_BENCH_FAKES
    if (all || mode == QLatin1String("walk"))
        benchWalk();
    if (all || mode == QLatin1String("memory"))
        benchMemory();
#else
    if (mode == QLatin1String("walk") || mode == QLatin1String("memory"))
        std::printf("%s: needs the tests' fakes; configure with BUILD_TESTING on\n", argv[1]);
#endif
    return 0;
}
