#include "platform/alsasoundoutput.h"

#include "audio/wavefile.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace kugelfon {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Buffer asked of the device. It is filled from memory at once, so its size
// delays nothing; a large one rides out a busy machine without underruns.
constexpr unsigned int latencyMicroseconds = 200'000;
// Beyond the sound's own length, the most a call may take all told. A
// PulseAudio null sink nobody records from lags about 2 s behind.
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

// Writes every frame, waiting for room with bounded waits. False when the
// device fails for good or the deadline passes.
bool writeAll(snd_pcm_t *pcm, const WaveData &wave, Clock::time_point deadline)
{
    const snd_pcm_uframes_t frameBytes = snd_pcm_uframes_t(wave.channels * wave.bitsPerSample / 8);
    const char *data = wave.pcm;
    snd_pcm_uframes_t left = snd_pcm_uframes_t(wave.pcmBytes) / frameBytes;
    while (left > 0) {
        const int waitMs = remainingMs(deadline);
        if (waitMs == 0)
            return false;
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm, data, left);
        if (written == -EAGAIN) {
            const int ready = snd_pcm_wait(pcm, std::min(waitMs, 100));
            if (ready < 0 && snd_pcm_recover(pcm, ready, 1) < 0)
                return false;
            continue;
        }
        if (written < 0) {
            if (snd_pcm_recover(pcm, int(written), 1) < 0)
                return false;
            continue;
        }
        data += snd_pcm_uframes_t(written) * frameBytes;
        left -= snd_pcm_uframes_t(written);
    }
    return true;
}

// Waits until the device has played what it was given. snd_pcm_drain could
// block without end on a stuck device, so the delay is polled instead.
void waitPlayed(snd_pcm_t *pcm, Clock::time_point deadline)
{
    // A sound shorter than the buffer never reaches the start threshold.
    if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED && snd_pcm_start(pcm) < 0)
        return;
    while (remainingMs(deadline) > 0) {
        const snd_pcm_state_t state = snd_pcm_state(pcm);
        if (state != SND_PCM_STATE_RUNNING)
            return; // an underrun here means everything has been played
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm, &delay) < 0 || delay <= 0)
            return;
        std::this_thread::sleep_for(milliseconds(5));
    }
}

} // namespace

AlsaSoundOutput::AlsaSoundOutput()
{
    // ALSA prints its errors to stderr unless told otherwise; a missing or
    // busy device is meant to be silent.
    snd_lib_error_set_handler(silentAlsaErrors);
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
    if (snd_pcm_open(&device.pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        device.pcm = nullptr;
        return;
    }
    const snd_pcm_format_t format = wave->bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    if (snd_pcm_set_params(device.pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(wave->channels), unsigned(wave->sampleRate),
                           1, latencyMicroseconds) < 0)
        return;
    if (!writeAll(device.pcm, *wave, deadline))
        return;
    waitPlayed(device.pcm, deadline);
}

} // namespace kugelfon
