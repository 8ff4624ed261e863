#pragma once

#include "platform/soundoutput.h"

#include <QObject>

#include <memory>
#include <thread>

namespace kugelfon {

// Plays through ALSA's "default" PCM, which on a desktop leads to PulseAudio
// or PipeWire through their ALSA plugins.
//
// Opening, writing and waiting for the device happen on a thread of this
// output: a sound server that hangs holds that thread, never the window.
// playWave hands the sound over and waits for its end, bounded by its length
// plus less than half a second; what is still queued then plays on. Calls play
// in order, each to its end: a call is never cut for a newer one. A call that
// has waited too long for the device is left out, since the hall should not
// hear a number long after newer ones are on show. A device that starts late
// (a sink that sleeps, Bluetooth) is held open between calls for a while, so
// that only the first call of a series waits for it to wake up; other devices
// are opened per call and nothing is held while the program is idle.
//
// A call that cannot be played goes to the failure handler, and in one line
// to stderr, when it is the first since a call was played to its end.
class AlsaSoundOutput final : public ISoundOutput {
public:
    AlsaSoundOutput();
    ~AlsaSoundOutput() override;
    void playWave(const QByteArray &image) override;

    struct Shared; // what the worker shares with the output; internal

private:
    // Shared with the worker, which may outlive this output: a worker stuck
    // in a hung sound server is left behind at exit instead of waited for.
    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
    // Lives on the window thread: failures found by the worker reach the
    // handler through its event queue.
    std::unique_ptr<QObject> m_context;
};

} // namespace kugelfon
