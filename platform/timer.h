#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace kugelfon {

// A timer with the program's rules: an interval of 0 never fires; enabling,
// or setting the interval of an enabled timer, restarts the full interval;
// ticks run on the user-interface thread and do not pile up.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }

protected:
    void fire()
    {
        if (m_handler)
            m_handler();
    }

private:
    std::function<void()> m_handler;
};

// What a timer is for, so that a test can reach the one it means.
enum class TimerRole { AutoStep, BingoLetters, Splash };

class ITimerFactory {
public:
    virtual ~ITimerFactory() = default;
    virtual std::unique_ptr<ITimer> create(TimerRole role) = 0;

    // While a Hold lives, no timer of this factory fires; one that fell due
    // meanwhile fires once from the event loop after the last hold ends, and
    // its next tick comes a full interval later. Code that spins the event
    // loop itself (a print run) takes one so the game does not move on under it.
    class [[nodiscard]] Hold {
    public:
        explicit Hold(ITimerFactory &factory) : m_factory(factory) { m_factory.beginHold(); }
        ~Hold() { m_factory.endHold(); }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        ITimerFactory &m_factory;
    };

protected:
    virtual void beginHold() = 0;
    virtual void endHold() = 0;
};

} // namespace kugelfon
