#include "platform/win/winmmsoundoutput.h"

#include "audio/wavefile.h"

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <cstdio>

namespace kugelfon {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Beyond the recording's own length, the most a call may wait for the device.
constexpr milliseconds slack{500};

QString deviceError(MMRESULT result)
{
    wchar_t text[MAXERRORLENGTH] = {};
    if (waveOutGetErrorTextW(result, text, MAXERRORLENGTH) != MMSYSERR_NOERROR)
        return QStringLiteral("Fehler %1").arg(result);
    return QString::fromWCharArray(text);
}

// Closes whatever was opened, in the order winmm wants: a header still
// queued is returned by the reset before it is unprepared.
struct Device {
    HWAVEOUT out = nullptr;
    HANDLE done = nullptr;
    WAVEHDR header{};
    bool prepared = false;

    ~Device()
    {
        if (out) {
            waveOutReset(out);
            if (prepared)
                waveOutUnprepareHeader(out, &header, sizeof header);
            waveOutClose(out);
        }
        if (done)
            CloseHandle(done);
    }
};

} // namespace

void WinmmSoundOutput::warnOnce(const QString &what)
{
    if (m_warned)
        return;
    m_warned = true;
    const QByteArray line = QStringLiteral(
        "Kugelfon: Tonausgabe über das Windows-Audiogerät nicht möglich: %1 – "
        "die Zahlen werden ohne Ansage angezeigt.\n").arg(what).toUtf8();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

void WinmmSoundOutput::playWave(const QByteArray &image)
{
    const std::optional<WaveData> wave = parseWave(image);
    if (!wave)
        return;
    const int frameBytes = wave->channels * wave->bitsPerSample / 8;
    const auto duration = milliseconds(wave->pcmBytes / frameBytes * 1000 / wave->sampleRate);
    const Clock::time_point deadline = Clock::now() + duration + slack;

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(wave->channels);
    format.nSamplesPerSec = DWORD(wave->sampleRate);
    format.wBitsPerSample = WORD(wave->bitsPerSample);
    format.nBlockAlign = WORD(frameBytes);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    Device device;
    // Auto-reset: signalled on open, then when the buffer comes back done.
    device.done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!device.done) {
        warnOnce(QStringLiteral("kein Ereignis für das Gerät"));
        return;
    }
    MMRESULT result = waveOutOpen(&device.out, WAVE_MAPPER, &format, DWORD_PTR(device.done), 0,
                                  CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        device.out = nullptr;
        warnOnce(QStringLiteral("das Gerät lässt sich nicht öffnen (%1)").arg(deviceError(result)));
        return;
    }
    device.header.lpData = const_cast<LPSTR>(wave->pcm);
    device.header.dwBufferLength = DWORD(wave->pcmBytes);
    result = waveOutPrepareHeader(device.out, &device.header, sizeof device.header);
    if (result == MMSYSERR_NOERROR) {
        device.prepared = true;
        ResetEvent(device.done);
        result = waveOutWrite(device.out, &device.header, sizeof device.header);
    }
    if (result != MMSYSERR_NOERROR) {
        warnOnce(QStringLiteral("Fehler beim Abspielen (%1)").arg(deviceError(result)));
        return;
    }
    // The event also fires for other messages; the header's flag says done.
    while (!(device.header.dwFlags & WHDR_DONE)) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            warnOnce(QStringLiteral("die Wiedergabe dauert zu lange"));
            return;
        }
        WaitForSingleObject(device.done, DWORD(left));
    }
}

} // namespace kugelfon
