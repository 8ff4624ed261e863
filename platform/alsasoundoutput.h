#pragma once

#include "platform/soundoutput.h"

#include <QString>

namespace kugelfon {

// Plays through ALSA's "default" PCM, which on a desktop leads to PulseAudio
// or PipeWire through their ALSA plugins. The device is opened per sound, so
// nothing is held while the program is idle.
//
// The first sound that cannot be played is reported in one line on stderr;
// the program holds one instance for its run, so that is once per run.
class AlsaSoundOutput final : public ISoundOutput {
public:
    AlsaSoundOutput();
    void playWave(const QByteArray &image) override;

private:
    void warnOnce(const QString &what);

    bool m_warned = false;
};

} // namespace kugelfon
