#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

namespace kugelfon {

// A device may take this long to take its first data: a sink that sleeps or
// a Bluetooth headset wakes up within one to three seconds.
inline constexpr std::chrono::milliseconds kDeviceWake{4000};
// What a call may take beyond its sound once the device plays.
inline constexpr std::chrono::milliseconds kCallSlack{500};
// How often a call's wait lets the window thread work.
inline constexpr std::chrono::milliseconds kWaitSlice{40};

// Plays a RIFF WAVE image from memory and returns when it has been played to
// its end. A call holds the window thread at most the sound's own length and
// kCallSlack, and kDeviceWake more while the device wakes up; an output that
// plays on a thread of its own hands a late call over sooner. Meanwhile the
// wait handler runs every kWaitSlice. Every failure is silence to the game:
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

    // Called on the window thread every kWaitSlice while playWave waits, for
    // window work that cannot wait for the call's end.
    void setWaitHandler(std::function<void()> handler) { m_onWait = std::move(handler); }

protected:
    void waiting()
    {
        if (m_onWait)
            m_onWait();
    }

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
    std::function<void()> m_onWait;
    bool m_failing = false;
};

} // namespace kugelfon
