#pragma once

#include "platform/soundoutput.h"

namespace kugelfon {

// Plays through ALSA's "default" PCM, which on a desktop leads to PulseAudio
// or PipeWire through their ALSA plugins. The device is opened per sound, so
// nothing is held while the program is idle.
class AlsaSoundOutput final : public ISoundOutput {
public:
    AlsaSoundOutput();
    void playWave(const QByteArray &image) override;
};

} // namespace kugelfon
