#pragma once

#include "platform/soundfailure.h"
#include "platform/soundoutput.h"

#include <QObject>
#include <QString>

namespace kugelfon {

// Plays through the Windows waveform audio API (winmm) on the default output
// device, opened per sound so nothing is held while the program is idle.
// The call waits for the device's done signal while the device's position
// moves: a device that has not started within kDeviceWake, or stands still
// for 1 s once playing, has stalled, and a call never waits longer than
// kDeviceWake, the recording and kCallSlack.
//
// A sound that cannot be played goes to the failure handler with a German
// notice, and in one line to stderr, when it is the first since a sound was
// played to its end.
class WinmmSoundOutput final : public ISoundOutput {
public:
    void playWave(const QByteArray &image) override;

private:
    void fail(SoundTrouble trouble, const QString &detail);

    // Failures and played sounds reach the handler once the call is over, in
    // order, as from the ALSA output's thread; none after the output is gone.
    QObject m_context;
};

} // namespace kugelfon
