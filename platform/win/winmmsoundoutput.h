#pragma once

#include "platform/soundoutput.h"

#include <QString>

namespace kugelfon {

// Plays through the Windows waveform audio API (winmm) on the default output
// device, opened per sound so nothing is held while the program is idle.
// The call waits for the device's done signal, but never longer than the
// recording plus half a second: a stuck driver costs at most that.
//
// The first sound that cannot be played is reported in one line on stderr;
// the program holds one instance for its run, so that is once per run.
class WinmmSoundOutput final : public ISoundOutput {
public:
    void playWave(const QByteArray &image) override;

private:
    void warnOnce(const QString &what);

    bool m_warned = false;
};

} // namespace kugelfon
