#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace kugelfon {

// Plays a RIFF WAVE image from memory and returns when it has been played to
// its end, or at the latest half a second after the sound's own length, so a
// step never holds the window longer. Every failure is silence to the game:
// no exception, no hang; it is told to the failure handler instead.
class ISoundOutput {
public:
    using FailureHandler = std::function<void(const QString &notice)>;

    virtual ~ISoundOutput() = default;
    virtual void playWave(const QByteArray &image) = 0;

    // Called on the window thread for every call that could not be played,
    // with a German text for the organiser: the device, what failed and what
    // to check.
    void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

protected:
    void reportFailure(const QString &notice) const
    {
        if (m_onFailure)
            m_onFailure(notice);
    }

private:
    FailureHandler m_onFailure;
};

} // namespace kugelfon
