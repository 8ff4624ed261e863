#pragma once

#include <QByteArray>

namespace kugelfon {

// Plays a RIFF WAVE image from memory and returns when it has been played to
// its end. Every failure is silence: no message box, no exception, no hang.
class ISoundOutput {
public:
    virtual ~ISoundOutput() = default;
    virtual void playWave(const QByteArray &image) = 0;
};

} // namespace kugelfon
