#include "platform/win/winmmsoundoutput.h"

#include "audio/wavefile.h"
#include "platform/soundfailure.h"

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace kugelfon {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

using Trouble = SoundTrouble;

// Once it plays, a device whose position stands still this long has stalled.
constexpr milliseconds stallWindow{1000};

// Bytes the device has played so far, or 0 where it cannot tell.
DWORD playedBytes(HWAVEOUT out)
{
    MMTIME time{};
    time.wType = TIME_BYTES;
    if (waveOutGetPosition(out, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_BYTES)
        return 0;
    return time.u.cb;
}

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

// Waits until the device hands the buffer back. The event also fires for
// other messages; the header's flag says done. A device that starts late is
// waited for; one that does not start, or stops moving once it has, has
// stalled. The window thread looks up from the wait now and then.
bool playedThrough(const Device &device, Clock::time_point opened, Clock::time_point deadline,
                  const std::function<void()> &lookUp)
{
    DWORD played = 0;
    Clock::time_point moved = opened;
    while (!(device.header.dwFlags & WHDR_DONE)) {
        const Clock::time_point now = Clock::now();
        if (const DWORD position = playedBytes(device.out); position > played) {
            played = position;
            moved = now;
        }
        if (now >= deadline || now - moved >= (played ? stallWindow : kDeviceWake))
            return false;
        WaitForSingleObject(device.done, DWORD(kWaitSlice.count()));
        lookUp();
    }
    return true;
}

QString whatToCheck(Trouble trouble)
{
    if (trouble == Trouble::Stalled)
        return QStringLiteral(
            "Bitte prüfen Sie, ob Lautsprecher oder Kopfhörer angeschlossen und eingeschaltet sind; "
            "hängt der Windows-Audiodienst, hilft ein Neustart des Computers.");
    return QStringLiteral(
        "Bitte prüfen Sie, ob Lautsprecher oder Kopfhörer angeschlossen und eingeschaltet sind "
        "und ob in den Soundeinstellungen von Windows ein Ausgabegerät als Standardgerät gewählt "
        "und aktiviert ist.");
}

} // namespace

void WinmmSoundOutput::fail(Trouble trouble, const QString &detail)
{
    const QString device = QStringLiteral("das Windows-Standardgerät");
    // winmm's own words in brackets: the line is for whoever looks into it.
    const QByteArray line = soundFailureLine(device, trouble, detail).toUtf8();
    const QString notice = soundFailureNotice(device, trouble, whatToCheck(trouble));
    QMetaObject::invokeMethod(&m_context, [this, notice, line] {
        if (!reportFailure(notice))
            return;
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);
    }, Qt::QueuedConnection);
}

void WinmmSoundOutput::playWave(const QByteArray &image)
{
    const std::optional<WaveData> wave = parseWave(image);
    if (!wave)
        return;
    const int frameBytes = wave->channels * wave->bitsPerSample / 8;
    const auto duration = milliseconds(wave->pcmBytes / frameBytes * 1000 / wave->sampleRate);
    const Clock::time_point opened = Clock::now();
    const Clock::time_point deadline = opened + kDeviceWake + duration + kCallSlack;

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
        fail(Trouble::Open, QStringLiteral("kein Ereignis für das Gerät"));
        return;
    }
    MMRESULT result = waveOutOpen(&device.out, WAVE_MAPPER, &format, DWORD_PTR(device.done), 0,
                                  CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        device.out = nullptr;
        fail(Trouble::Open, deviceError(result));
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
        fail(Trouble::PlayError, deviceError(result));
        return;
    }
    if (!playedThrough(device, opened, deadline, [this] { waiting(); }))
        fail(Trouble::Stalled, QString());
    else
        QMetaObject::invokeMethod(&m_context, [this] { reportPlayed(); }, Qt::QueuedConnection);
}

} // namespace kugelfon
