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

class ITimerFactory {
public:
    virtual ~ITimerFactory() = default;
    // The name identifies the timer to tests ("AutoTimer", "ZeitUni", "SplashTimer").
    virtual std::unique_ptr<ITimer> create(const QString &name) = 0;
};

} // namespace kugelfon
