#include "platform/linux/alsasoundoutput.h"

#include "audio/wavefile.h"
#include "platform/soundfailure.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

namespace kugelfon {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const char *const kDevice = "default";

// Buffer asked of the device. It is filled from memory at once, so its size
// delays nothing; a large one rides out a busy machine without underruns.
constexpr unsigned int latencyMicroseconds = 200'000;
// How long playWave waits beyond the sound's length: well within the slack
// a call may take, with 200 ms left for a busy machine to wake the window
// thread. A call not done by then, on a device still waking, plays on here.
constexpr milliseconds spareWait = kCallSlack - milliseconds(200);
constexpr milliseconds startWindow = kDeviceWake;
// Once it plays, a device that takes nothing for this long has stalled.
// PulseAudio asks for data about every 50 ms, at worst 160 ms measured.
constexpr milliseconds stallWindow{1000};
// What a device takes within this time after opening does not tell that it
// plays; a kept-awake PulseAudio sink pulls after 250 ms.
constexpr milliseconds firstHelping{200};
// A device whose first pull comes later than this starts late (a kept-awake
// PulseAudio sink pulls after 250 ms, a sleeping one after about 2 s) ...
constexpr milliseconds lateStart{700};
// ... and is kept running on silence this long after a call, so that calls at
// the usual intervals find it awake.
constexpr milliseconds linger{10000};
// One ALSA call that has not returned for this long: the server hangs.
constexpr milliseconds noAnswer{500};
// A call that waited this long for the device is no longer current: the hall
// would hear a number after newer ones are on show. A late device's first
// wake-up costs a waiting call about 1.5 s.
constexpr milliseconds staleAfter{3000};
// Calls waiting at most; only a device that hangs lets more pile up.
constexpr std::size_t maxWaiting = 4;

void silentAlsaErrors(const char *, int, const char *, int, const char *, ...)
{
}

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

using Trouble = SoundTrouble;

struct Failure {
    Trouble trouble;
    int alsaError = 0;
};

// How a call ended on the device: failed, heard to its end, or neither (left
// out as stale, or still playing on a stream that the next call follows).
struct Ending {
    std::optional<Failure> failure;
    bool played = false;
};

QString whatToCheck(Trouble trouble)
{
    switch (trouble) {
    case Trouble::Open:
    case Trouble::Format:
        // Without its ALSA plugin the desktop's sound server is not ALSA's
        // default device, and "default" falls back to a sound card that is
        // missing or held by the server.
        return QStringLiteral(
            "Bitte prüfen Sie, ob der Tondienst des Desktops (PipeWire oder PulseAudio) läuft "
            "und ob ALSAs Standardgerät zu ihm führt. Unter Debian 12 braucht es dafür bei "
            "PipeWire das Paket „pipewire-alsa“, bei PulseAudio die Pakete „pulseaudio“ "
            "und „libasound2-plugins“.");
    case Trouble::Silent:
    case Trouble::Stalled:
    case Trouble::PlayError:
        return QStringLiteral(
            "Bitte prüfen Sie, ob Lautsprecher oder Kopfhörer angeschlossen und eingeschaltet "
            "sind und ob in den Toneinstellungen des Desktops das richtige Ausgabegerät gewählt "
            "und nicht angehalten ist.");
    case Trouble::NoAnswer:
        return QStringLiteral(
            "Bitte prüfen Sie, ob der Tondienst des Desktops (PipeWire oder PulseAudio) hängt; "
            "ein Neustart des Tondienstes oder eine neue Anmeldung hilft.");
    }
    return {};
}

QString device()
{
    return QStringLiteral("das ALSA-Gerät „%1“").arg(QLatin1String(kDevice));
}

QString noticeText(const Failure &failure)
{
    return soundFailureNotice(device(), failure.trouble, whatToCheck(failure.trouble));
}

QString stderrLine(const Failure &failure)
{
    // ALSA's own words in brackets: the line is for whoever looks into it.
    return soundFailureLine(device(), failure.trouble,
                            failure.alsaError < 0 ? QStringLiteral("ALSA: ") + QString::fromLocal8Bit(snd_strerror(failure.alsaError))
                                                  : QString());
}

milliseconds lengthOf(const WaveData &wave)
{
    const qint64 frames = wave.pcmBytes / (wave.channels * wave.bitsPerSample / 8);
    return milliseconds(frames * 1000 / wave.sampleRate);
}

struct Call {
    QByteArray image;
    quint64 id = 0;
    Clock::time_point handedAt;
    bool stale() const { return Clock::now() - handedAt > staleAfter; }
};

} // namespace

struct AlsaSoundOutput::Shared {
    std::mutex mutex;
    std::condition_variable wake; // the worker: a call or the end
    std::condition_variable done; // the window: a call or the worker ended
    std::deque<Call> waiting;
    quint64 handed = 0;
    quint64 finished = 0;
    bool quit = false;
    bool ended = false;
    AlsaSoundOutput *owner = nullptr;   // null once the output is gone
    QObject *context = nullptr;         // likewise
    std::atomic<bool> stopping{false};
    std::atomic<qint64> inAlsaSince{0}; // 0 while the worker is not in ALSA

    // Runs one ALSA call and notes while it runs, so that the window can
    // tell a server that hangs.
    template <class F>
    auto alsa(F &&f)
    {
        inAlsaSince.store(nowNs());
        auto result = f();
        inAlsaSince.store(0);
        return result;
    }

    bool hung() const
    {
        const qint64 since = inAlsaSince.load();
        return since != 0 && nowNs() - since >= std::chrono::nanoseconds(noAnswer).count();
    }

    bool callWaiting()
    {
        std::lock_guard lock(mutex);
        return !waiting.empty();
    }

    // From any thread: the output hears of it on the window thread, after
    // the calls that ended before.
    template <class F>
    void toOutput(F &&f)
    {
        std::lock_guard lock(mutex);
        if (context)
            QMetaObject::invokeMethod(context, [to = owner, f = std::forward<F>(f)] { f(*to); }, Qt::QueuedConnection);
    }

    void tell(const Failure &failure)
    {
        toOutput([text = noticeText(failure), line = stderrLine(failure).toUtf8()](AlsaSoundOutput &to) {
            if (!to.reportFailure(text))
                return;
            std::fputs(line.constData(), stderr);
            std::fflush(stderr);
        });
    }

    void run();
};

namespace {

using Shared = AlsaSoundOutput::Shared;

// The open device of the worker, and how far it has got.
class Stream {
public:
    explicit Stream(Shared &shared) : m_s(shared) {}
    ~Stream() { close(); }
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    bool isOpen() const { return m_pcm != nullptr; }
    bool lingers() const { return isOpen() && Clock::now() < m_lingerUntil; }

    // Plays a call unless, once the device is open, it has gone stale.
    Ending play(const WaveData &wave, const Call &call);
    // Keeps a late device fed while it lingers; false when it stopped taking.
    bool keepAwake();
    void close();

private:
    std::optional<Failure> open(const WaveData &wave);
    std::optional<Failure> writeCall(const WaveData &wave);
    Ending waitUntilPlayed(snd_pcm_sframes_t end);
    bool fits(const WaveData &wave) const
    {
        return m_format == formatOf(wave) && m_channels == unsigned(wave.channels)
            && m_rate == unsigned(wave.sampleRate);
    }
    static snd_pcm_format_t formatOf(const WaveData &wave)
    {
        return wave.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    }
    bool moving(bool allWritten);
    Failure stalled() const { return {m_started ? Trouble::Stalled : Trouble::Silent}; }
    std::optional<Failure> write(const char *data, snd_pcm_uframes_t frames, bool untilDone);
    bool fillSilence();
    const char *silence();
    Clock::duration timeOf(snd_pcm_sframes_t frames) const
    {
        return std::chrono::microseconds(frames * 1'000'000 / snd_pcm_sframes_t(m_rate));
    }
    static constexpr snd_pcm_uframes_t silenceChunk = 1024;

    Shared &m_s;
    snd_pcm_t *m_pcm = nullptr;
    snd_pcm_format_t m_format = SND_PCM_FORMAT_UNKNOWN;
    unsigned m_channels = 0;
    unsigned m_rate = 0;
    snd_pcm_uframes_t m_frameBytes = 0;
    Clock::time_point m_openedAt;
    Clock::time_point m_lastMove;
    Clock::time_point m_lingerUntil;
    Clock::time_point m_playedBy; // the last call cannot have been heard whole sooner
    Clock::time_point m_heldUntil; // what the server held at the last look has played by then
    bool m_started = false;
    bool m_late = false;
    snd_pcm_sframes_t m_written = 0; // frames since the device was opened
    snd_pcm_sframes_t m_taken = 0;   // written plus room: grows as the device takes data
    snd_pcm_sframes_t m_delay = std::numeric_limits<snd_pcm_sframes_t>::max();
    std::vector<char> m_silence;
};

std::optional<Failure> Stream::open(const WaveData &wave)
{
    // Non-blocking, so that a device held by someone else fails the open
    // instead of waiting for it.
    snd_pcm_t *pcm = nullptr;
    if (const int err = m_s.alsa([&] { return snd_pcm_open(&pcm, kDevice, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK); });
        err < 0)
        return Failure{Trouble::Open, err};
    m_pcm = pcm;
    m_format = formatOf(wave);
    m_channels = unsigned(wave.channels);
    m_rate = unsigned(wave.sampleRate);
    if (const int err = m_s.alsa([&] {
            return snd_pcm_set_params(m_pcm, m_format, SND_PCM_ACCESS_RW_INTERLEAVED, m_channels,
                                      m_rate, 1, latencyMicroseconds);
        });
        err < 0) {
        close();
        return Failure{Trouble::Format, err};
    }
    m_frameBytes = snd_pcm_uframes_t(wave.channels * wave.bitsPerSample / 8);
    m_silence.clear();
    m_openedAt = m_lastMove = Clock::now();
    m_lingerUntil = {};
    m_started = m_late = false;
    m_written = 0;
    m_delay = std::numeric_limits<snd_pcm_sframes_t>::max();
    const snd_pcm_sframes_t room = m_s.alsa([&] { return snd_pcm_avail(m_pcm); });
    m_taken = std::max<snd_pcm_sframes_t>(room, 0);
    return {};
}

void Stream::close()
{
    if (!m_pcm)
        return;
    m_s.alsa([&] {
        snd_pcm_drop(m_pcm);
        return snd_pcm_close(m_pcm);
    });
    m_pcm = nullptr;
}

// False once nothing has moved for too long: the device has not started
// within its start window or stopped taking data while it played. A call
// that itself hangs (a server stopped and resumed) counts as no movement.
bool Stream::moving(bool allWritten)
{
    snd_pcm_sframes_t avail = 0;
    snd_pcm_sframes_t delay = 0;
    const int err = m_s.alsa([&] { return snd_pcm_avail_delay(m_pcm, &avail, &delay); });
    const Clock::time_point now = Clock::now();
    const bool overdue = m_started ? now - m_lastMove >= stallWindow : now - m_openedAt >= startWindow;
    if (overdue)
        return false;
    if (err == 0) {
        // Room grows as the device takes data. PulseAudio takes a first
        // helping into its own buffer at once, playing or not, so only what
        // it takes later tells that the device plays.
        const snd_pcm_sframes_t taken = m_written + avail;
        const bool pulled = taken > m_taken;
        m_taken = std::max(m_taken, taken);
        if (pulled && !m_started && now - m_openedAt >= firstHelping) {
            m_started = true;
            m_late = now - m_openedAt > lateStart;
        }
        // Its delay is estimated from the clock and shrinks even on a stopped
        // sink, so it counts only once the device has started and everything
        // is written.
        const bool drained = allWritten && delay < m_delay;
        if (allWritten)
            m_delay = delay;
        if (m_started && (pulled || drained))
            m_lastMove = now;
    }
    return true;
}

// Writes frames, waiting for room with bounded waits.
std::optional<Failure> Stream::write(const char *data, snd_pcm_uframes_t left, bool untilDone)
{
    m_delay = std::numeric_limits<snd_pcm_sframes_t>::max();
    while (left > 0 && !m_s.stopping) {
        const snd_pcm_sframes_t result = m_s.alsa([&] { return snd_pcm_writei(m_pcm, data, left); });
        if (result == -EAGAIN) {
            if (!untilDone)
                return {};
            const int ready = m_s.alsa([&] { return snd_pcm_wait(m_pcm, 20); });
            if (ready < 0 && m_s.alsa([&] { return snd_pcm_recover(m_pcm, ready, 1); }) < 0)
                return Failure{Trouble::PlayError, ready};
            if (!moving(false))
                return stalled();
            continue;
        }
        if (result < 0) {
            if (m_s.alsa([&] { return snd_pcm_recover(m_pcm, int(result), 1); }) < 0)
                return Failure{Trouble::PlayError, int(result)};
            continue;
        }
        data += snd_pcm_uframes_t(result) * m_frameBytes;
        left -= snd_pcm_uframes_t(result);
        m_written += result;
    }
    return {};
}

// Tops the buffer up with silence, so that a late device never runs dry and
// goes back to sleep.
const char *Stream::silence()
{
    if (m_silence.empty()) {
        m_silence.resize(silenceChunk * m_frameBytes);
        snd_pcm_format_set_silence(m_format, m_silence.data(), unsigned(silenceChunk * m_channels));
    }
    return m_silence.data();
}

bool Stream::fillSilence()
{
    for (int i = 0; i < 8; ++i) {
        const snd_pcm_sframes_t before = m_written;
        if (write(silence(), silenceChunk, false))
            return false;
        if (m_written == before)
            break;
    }
    return moving(false);
}

bool Stream::keepAwake()
{
    if (!m_pcm)
        return false;
    if (fillSilence())
        return true;
    close();
    return false;
}

Ending Stream::play(const WaveData &wave, const Call &call)
{
    if (isOpen() && !fits(wave))
        close();
    if (!isOpen()) {
        if (auto failure = open(wave))
            return {failure};
    }
    // Opening may have waited long on a server that hung for a while.
    if (call.stale())
        return {};
    Ending ending{writeCall(wave)};
    if (!ending.failure)
        ending = waitUntilPlayed(m_written);
    if (ending.failure || !m_late)
        close();
    else
        m_lingerUntil = Clock::now() + linger;
    return ending;
}

std::optional<Failure> Stream::writeCall(const WaveData &wave)
{
    std::optional<Failure> failure;
    // A call that follows another on a late device gets a pause before it,
    // as between two calls on a device opened per call.
    for (snd_pcm_uframes_t pause = m_late ? m_rate * 15 / 100 : 0; pause > 0 && !failure;) {
        const snd_pcm_uframes_t part = std::min<snd_pcm_uframes_t>(pause, silenceChunk);
        failure = write(silence(), part, true);
        pause -= part;
    }
    const snd_pcm_uframes_t frames = snd_pcm_uframes_t(wave.pcmBytes) / m_frameBytes;
    m_playedBy = m_heldUntil = Clock::now() + timeOf(snd_pcm_sframes_t(frames));
    if (!failure)
        failure = write(wave.pcm, frames, true);
    if (!failure && m_s.alsa([&] { return snd_pcm_state(m_pcm); }) == SND_PCM_STATE_PREPARED) {
        // A sound shorter than the buffer never reaches the start threshold.
        if (const int err = m_s.alsa([&] { return snd_pcm_start(m_pcm); }); err < 0)
            failure = Failure{Trouble::PlayError, err};
    }
    return failure;
}

// Waits until the device has played up to frame `end`. snd_pcm_drain could
// block without end on a stuck device, so the delay is polled instead.
Ending Stream::waitUntilPlayed(snd_pcm_sframes_t end)
{
    while (!m_s.stopping) {
        if (m_late) {
            // The next call follows on the same stream, after a little silence;
            // its end tells that this one was heard.
            if (m_s.callWaiting())
                return {};
            if (!fillSilence())
                return {stalled()};
        }
        if (m_started) {
            snd_pcm_sframes_t delay = 0;
            const snd_pcm_state_t state = m_s.alsa([&] { return snd_pcm_state(m_pcm); });
            // An underrun tells that the server has taken everything, not that
            // it has played it: a sink that renders ahead still holds what the
            // last delay told, and closing now would cut the call short.
            if (state == SND_PCM_STATE_XRUN) {
                const Clock::time_point until = std::min(m_heldUntil, Clock::now() + stallWindow);
                while (Clock::now() < until && !m_s.stopping)
                    std::this_thread::sleep_for(milliseconds(5));
                return {{}, true};
            }
            if (state != SND_PCM_STATE_RUNNING || m_s.alsa([&] { return snd_pcm_delay(m_pcm, &delay); }) < 0)
                return {};
            if (!m_late)
                m_heldUntil = std::max(m_playedBy, Clock::now() + timeOf(delay));
            if (m_late ? m_written - delay >= end : delay <= 0 && Clock::now() >= m_playedBy)
                return {{}, true};
        }
        // Nothing tells the end of a call that has not begun.
        if (!moving(true))
            return {stalled()};
        std::this_thread::sleep_for(milliseconds(5));
    }
    return {};
}

} // namespace

void AlsaSoundOutput::Shared::run()
{
    Stream stream(*this);
    std::unique_lock lock(mutex);
    for (;;) {
        while (!quit && waiting.empty()) {
            if (stream.lingers()) {
                lock.unlock();
                stream.keepAwake();
                lock.lock();
                wake.wait_for(lock, milliseconds(20));
            } else if (stream.isOpen()) {
                lock.unlock();
                stream.close();
                lock.lock();
            } else {
                wake.wait(lock);
            }
        }
        if (quit)
            break;
        const Call call = std::move(waiting.front());
        waiting.pop_front();
        lock.unlock();

        Ending ending;
        const std::optional<WaveData> wave = parseWave(call.image);
        if (wave && !call.stale())
            ending = stream.play(*wave, call);
        // Told before the window hears that the call is over.
        if (ending.failure && !stopping)
            tell(*ending.failure);
        else if (ending.played)
            toOutput([](AlsaSoundOutput &to) { to.reportPlayed(); });

        lock.lock();
        finished = call.id;
        done.notify_all();
    }
    lock.unlock();
    stream.close();
    lock.lock();
    ended = true;
    done.notify_all();
}

AlsaSoundOutput::AlsaSoundOutput()
    : m_shared(std::make_shared<Shared>()), m_context(std::make_unique<QObject>())
{
    // ALSA prints its errors to stderr unless told otherwise; a missing or
    // busy device is reported in our own words.
    snd_lib_error_set_handler(silentAlsaErrors);
    m_shared->owner = this;
    m_shared->context = m_context.get();
    m_worker = std::thread([shared = m_shared] { shared->run(); });
}

AlsaSoundOutput::~AlsaSoundOutput()
{
    Shared &s = *m_shared;
    std::unique_lock lock(s.mutex);
    s.quit = true;
    s.stopping = true;
    s.owner = nullptr;
    s.context = nullptr;
    s.wake.notify_all();
    // A worker inside a hung server would hold the program's end for as long
    // as the server hangs; it is left to the end of the process instead, and
    // keeps its share of the state until then.
    const bool ended = s.done.wait_for(lock, milliseconds(500), [&] { return s.ended; });
    lock.unlock();
    if (ended)
        m_worker.join();
    else
        m_worker.detach();
}

void AlsaSoundOutput::playWave(const QByteArray &image)
{
    const std::optional<WaveData> wave = parseWave(image);
    if (!wave)
        return;
    const Clock::time_point now = Clock::now();
    const Clock::time_point givesUp = now + lengthOf(*wave) + spareWait;
    Shared &s = *m_shared;
    std::unique_lock lock(s.mutex);
    const quint64 id = ++s.handed;
    s.waiting.push_back(Call{image, id, now});
    if (s.waiting.size() > maxWaiting)
        s.waiting.pop_front();
    s.wake.notify_all();
    const auto played = [&] { return s.finished >= id || s.ended; };
    for (;;) {
        const Clock::time_point slice = std::min(givesUp, Clock::now() + kWaitSlice);
        if (s.done.wait_until(lock, slice, played))
            return;
        if (slice == givesUp)
            break;
        lock.unlock();
        waiting();
        lock.lock();
    }
    lock.unlock();
    // Still queued or playing on a device that started late: it plays on.
    // A worker stuck inside one ALSA call, though, waits on a server that
    // does not answer.
    if (s.hung())
        s.tell(Failure{Trouble::NoAnswer});
}

} // namespace kugelfon
