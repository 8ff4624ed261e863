#pragma once

#include "platform/timer.h"

#include <QTimer>
#include <memory>
#include <vector>

namespace kugelfon {

class QtProgramTimer;

// Shared by a factory and its timers, so either may go first.
struct QtTimerHoldState {
    int depth = 0;
    std::vector<QtProgramTimer *> due; // fell due while held
};

class QtProgramTimer final : public ITimer {
public:
    explicit QtProgramTimer(std::shared_ptr<QtTimerHoldState> hold = std::make_shared<QtTimerHoldState>());
    ~QtProgramTimer() override;
    void setInterval(int ms) override;
    int interval() const override { return m_interval; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return m_enabled; }

    // The hold has ended: the tick that fell due meanwhile comes from the event loop.
    void deliverLate();

private:
    void apply();
    void timeout();
    void forgetDue();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_late = false; // a held tick is on its way
    std::shared_ptr<QtTimerHoldState> m_hold;
};

class QtTimerFactory final : public ITimerFactory {
public:
    std::unique_ptr<ITimer> create(TimerRole role) override;

protected:
    void beginHold() override;
    void endHold() override;

private:
    std::shared_ptr<QtTimerHoldState> m_hold = std::make_shared<QtTimerHoldState>();
};

} // namespace kugelfon
