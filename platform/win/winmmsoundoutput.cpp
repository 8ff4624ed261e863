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

// A device may take this long to start playing: a sound server's sink that
// sleeps or a Bluetooth headset wakes up within one to three seconds.
constexpr milliseconds startWindow{4000};
// Once it plays, a device whose position stands still this long has stalled.
constexpr milliseconds stallWindow{1000};
// Beyond start-up and the recording's own length, the most a call may wait.
constexpr milliseconds slack{500};
// How often the device's position is looked at while it plays.
constexpr DWORD pollMs = 50;

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
// stalled.
bool playedThrough(const Device &device, Clock::time_point opened, Clock::time_point deadline)
{
    DWORD played = 0;
    Clock::time_point moved = opened;
    while (!(device.header.dwFlags & WHDR_DONE)) {
        const Clock::time_point now = Clock::now();
        if (const DWORD position = playedBytes(device.out); position > played) {
            played = position;
            moved = now;
        }
        if (now >= deadline || now - moved >= (played ? stallWindow : startWindow))
            return false;
        WaitForSingleObject(device.done, pollMs);
    }
    return true;
}

QString whatFailed(WinmmSoundOutput::Trouble trouble)
{
    switch (trouble) {
    case WinmmSoundOutput::Trouble::Open:
        return QStringLiteral("das Gerät lässt sich nicht öffnen");
    case WinmmSoundOutput::Trouble::PlayError:
        return QStringLiteral("das Gerät meldet einen Fehler beim Abspielen");
    case WinmmSoundOutput::Trouble::Stalled:
        return QStringLiteral("das Gerät bleibt mitten in der Ansage stehen");
    }
    return {};
}

QString whatToCheck(WinmmSoundOutput::Trouble trouble)
{
    if (trouble == WinmmSoundOutput::Trouble::Stalled)
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
    const QString device = QStringLiteral("Windows-Standardgerät");
    // winmm's own words in brackets: the line is for whoever looks into it.
    const QByteArray line = QStringLiteral(
        "Kugelfon: Tonausgabe über das %1 nicht möglich: %2%3 – "
        "die Zahlen werden ohne Ansage angezeigt.\n")
        .arg(device, whatFailed(trouble), detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail))
        .toUtf8();
    const QString notice = QStringLiteral(
        "Kugelfon kann die Zahlen nicht ansagen. Tonausgabe über das %1 nicht möglich: %2.\r\r%3\r\r"
        "Das Spiel läuft ohne Ansage weiter; Kugelfon versucht es bei jeder Zahl wieder.")
        .arg(device, whatFailed(trouble), whatToCheck(trouble));
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
    const Clock::time_point deadline = opened + startWindow + duration + slack;

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
    if (!playedThrough(device, opened, deadline))
        fail(Trouble::Stalled, QString());
    else
        QMetaObject::invokeMethod(&m_context, [this] { reportPlayed(); }, Qt::QueuedConnection);
}

} // namespace kugelfon
