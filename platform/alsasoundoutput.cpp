#include "platform/alsasoundoutput.h"

#include "audio/wavefile.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <thread>

namespace kugelfon {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Buffer asked of the device. It is filled from memory at once, so its size
// delays nothing; a large one rides out a busy machine without underruns.
constexpr unsigned int latencyMicroseconds = 200'000;
// A device that neither takes data nor plays out for this long has stalled.
// PulseAudio asks for data about every 50 ms (60 ms measured, at worst
// 160 ms); 300 ms forgives a server a quarter second late on a busy machine
// and still gives up within half a second.
constexpr milliseconds stallWindow{300};
// The first buffer is handed over whole; PulseAudio asks for more only once
// it has played most of it (250 ms measured), so the first move may come
// this much later.
constexpr milliseconds firstBuffer{latencyMicroseconds / 1000};
// Beyond the sound's own length, the most a call may take all told: a
// backstop for a device that keeps moving but falls far behind.
constexpr milliseconds slack{3000};

void silentAlsaErrors(const char *, int, const char *, int, const char *, ...)
{
}

struct PcmCloser {
    snd_pcm_t *pcm = nullptr;
    ~PcmCloser()
    {
        if (pcm) {
            snd_pcm_drop(pcm);
            snd_pcm_close(pcm);
        }
    }
};

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : int(left);
}

QString alsaError(int err)
{
    return QString::fromLocal8Bit(snd_strerror(err));
}

// Tells a device that plays from one that has stopped. Frames written plus
// room in the buffer grows whenever the device takes data; once everything
// is written, a shrinking delay counts too. PulseAudio's delay is estimated
// from the clock and shrinks even on a stopped sink, so it counts only then.
class ProgressWatch {
public:
    explicit ProgressWatch(snd_pcm_t *pcm)
        : m_pcm(pcm), m_lastMove(Clock::now() + firstBuffer)
    {
    }

    // False once nothing has moved for stallWindow.
    bool moving(snd_pcm_uframes_t written, bool allWritten)
    {
        snd_pcm_sframes_t avail = 0;
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_avail_delay(m_pcm, &avail, &delay) == 0) {
            const snd_pcm_sframes_t taken = snd_pcm_sframes_t(written) + avail;
            const bool moved = taken > m_taken || (allWritten && delay < m_delay);
            m_taken = std::max(m_taken, taken);
            m_delay = allWritten ? delay : m_delay;
            if (moved) {
                m_lastMove = std::max(m_lastMove, Clock::now());
                return true;
            }
        }
        return Clock::now() - m_lastMove < stallWindow;
    }

private:
    snd_pcm_t *m_pcm;
    Clock::time_point m_lastMove;
    snd_pcm_sframes_t m_taken = -1;
    snd_pcm_sframes_t m_delay = std::numeric_limits<snd_pcm_sframes_t>::max();
};

QString stalled()
{
    return QStringLiteral("das Gerät spielt nicht ab (%1 ms ohne Fortschritt)")
        .arg(stallWindow.count());
}

QString playError(int err)
{
    return QStringLiteral("Fehler beim Abspielen (%1)").arg(alsaError(err));
}

QString tooLong()
{
    return QStringLiteral("die Wiedergabe dauert zu lange");
}

// Writes every frame, waiting for room with bounded waits. Empty when done,
// else why not: the device fails for good, stalls or the deadline passes.
QString writeAll(snd_pcm_t *pcm, const WaveData &wave, ProgressWatch &watch,
                 Clock::time_point deadline)
{
    const snd_pcm_uframes_t frameBytes = snd_pcm_uframes_t(wave.channels * wave.bitsPerSample / 8);
    const char *data = wave.pcm;
    snd_pcm_uframes_t left = snd_pcm_uframes_t(wave.pcmBytes) / frameBytes;
    snd_pcm_uframes_t written = 0;
    while (left > 0) {
        const int waitMs = remainingMs(deadline);
        if (waitMs == 0)
            return tooLong();
        const snd_pcm_sframes_t result = snd_pcm_writei(pcm, data, left);
        if (result == -EAGAIN) {
            const int ready = snd_pcm_wait(pcm, std::min(waitMs, 50));
            if (ready < 0 && snd_pcm_recover(pcm, ready, 1) < 0)
                return playError(ready);
            if (!watch.moving(written, false))
                return stalled();
            continue;
        }
        if (result < 0) {
            if (snd_pcm_recover(pcm, int(result), 1) < 0)
                return playError(int(result));
            continue;
        }
        data += snd_pcm_uframes_t(result) * frameBytes;
        left -= snd_pcm_uframes_t(result);
        written += snd_pcm_uframes_t(result);
    }
    return {};
}

// Waits until the device has played what it was given. snd_pcm_drain could
// block without end on a stuck device, so the delay is polled instead.
QString waitPlayed(snd_pcm_t *pcm, snd_pcm_uframes_t frames, ProgressWatch &watch,
                   Clock::time_point deadline)
{
    // A sound shorter than the buffer never reaches the start threshold.
    if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED) {
        if (const int err = snd_pcm_start(pcm); err < 0)
            return playError(err);
    }
    while (remainingMs(deadline) > 0) {
        const snd_pcm_state_t state = snd_pcm_state(pcm);
        if (state != SND_PCM_STATE_RUNNING)
            return {}; // an underrun here means everything has been played
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm, &delay) < 0 || delay <= 0)
            return {};
        if (!watch.moving(frames, true))
            return stalled();
        std::this_thread::sleep_for(milliseconds(5));
    }
    return tooLong();
}

} // namespace

AlsaSoundOutput::AlsaSoundOutput()
{
    // ALSA prints its errors to stderr unless told otherwise; a missing or
    // busy device is reported once, in our own words.
    snd_lib_error_set_handler(silentAlsaErrors);
}

void AlsaSoundOutput::warnOnce(const QString &what)
{
    if (m_warned)
        return;
    m_warned = true;
    const QByteArray line = QStringLiteral(
        "Kugelfon: Tonausgabe über das ALSA-Gerät „default“ nicht möglich: %1 – "
        "die Zahlen werden ohne Ansage angezeigt.\n").arg(what).toUtf8();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

void AlsaSoundOutput::playWave(const QByteArray &image)
{
    const std::optional<WaveData> wave = parseWave(image);
    if (!wave)
        return;
    const int frameBytes = wave->channels * wave->bitsPerSample / 8;
    const qint64 frames = wave->pcmBytes / frameBytes;
    const auto duration = milliseconds(frames * 1000 / wave->sampleRate);
    const Clock::time_point deadline = Clock::now() + duration + slack;

    PcmCloser device;
    // Non-blocking, so that a device held by someone else fails the open
    // instead of waiting for it.
    if (const int err = snd_pcm_open(&device.pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
        err < 0) {
        device.pcm = nullptr;
        warnOnce(QStringLiteral("das Gerät lässt sich nicht öffnen (%1)").arg(alsaError(err)));
        return;
    }
    const snd_pcm_format_t format = wave->bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    if (const int err = snd_pcm_set_params(device.pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED,
                                           unsigned(wave->channels), unsigned(wave->sampleRate),
                                           1, latencyMicroseconds);
        err < 0) {
        warnOnce(QStringLiteral("das Gerät nimmt %1 Hz, %2 bit, %3 nicht an (%4)")
                     .arg(wave->sampleRate)
                     .arg(wave->bitsPerSample)
                     .arg(wave->channels == 1 ? QStringLiteral("mono") : QStringLiteral("stereo"),
                          alsaError(err)));
        return;
    }
    ProgressWatch watch(device.pcm);
    QString failure = writeAll(device.pcm, *wave, watch, deadline);
    if (failure.isEmpty())
        failure = waitPlayed(device.pcm, snd_pcm_uframes_t(frames), watch, deadline);
    if (!failure.isEmpty())
        warnOnce(failure);
}

} // namespace kugelfon
