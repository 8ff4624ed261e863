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

    // Called on the window thread with a German text for the organiser (the
    // device, what failed and what to check) once per failure: for the first
    // call that could not be played, and again only once a call has been
    // played to its end since. A device that stays broken is told once, not
    // at every number.
    void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }
    // From a told failure until a call has been played to its end.
    bool isFailing() const { return m_failing; }

protected:
    // Both on the window thread, in the order the calls ended. True where
    // the failure is a new one, which the output may log in its own words.
    bool reportFailure(const QString &notice)
    {
        if (m_failing)
            return false;
        m_failing = true;
        if (m_onFailure)
            m_onFailure(notice);
        return true;
    }
    void reportPlayed() { m_failing = false; }

private:
    FailureHandler m_onFailure;
    bool m_failing = false;
};

} // namespace kugelfon
