#include "platform/qt/qttimer.h"

#include <algorithm>

namespace kugelfon {

QtProgramTimer::QtProgramTimer(std::shared_ptr<QtTimerHoldState> hold) : m_hold(std::move(hold))
{
    // QTimer delivers a due tick once when the thread becomes free again, so
    // ticks never pile up behind a busy handler.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { timeout(); });
}

QtProgramTimer::~QtProgramTimer()
{
    forgetDue();
}

void QtProgramTimer::timeout()
{
    if (!m_enabled || m_interval <= 0 || m_late)
        return;
    if (m_hold->depth > 0) {
        // Held: remembered once, however many intervals pass.
        if (std::find(m_hold->due.begin(), m_hold->due.end(), this) == m_hold->due.end())
            m_hold->due.push_back(this);
        return;
    }
    fire();
}

void QtProgramTimer::deliverLate()
{
    // Queued, so the tick does not run inside the code that ends the hold;
    // the QTimer as context drops it when this timer is gone.
    m_late = true;
    QMetaObject::invokeMethod(&m_timer, [this] {
        if (!m_late)
            return; // restarted meanwhile
        m_late = false;
        if (m_hold->depth > 0) {
            timeout();
            return;
        }
        // The next tick comes a full interval after this one.
        m_timer.start(m_interval);
        fire();
    }, Qt::QueuedConnection);
}

void QtProgramTimer::forgetDue()
{
    auto &due = m_hold->due;
    due.erase(std::remove(due.begin(), due.end(), this), due.end());
}

void QtProgramTimer::setInterval(int ms)
{
    m_interval = ms < 0 ? 0 : ms;
    apply();
}

void QtProgramTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    apply();
}

void QtProgramTimer::apply()
{
    // A restarted interval drops a tick that fell due under a hold.
    forgetDue();
    m_late = false;
    // QTimer fires continuously at 0; this timer never does.
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

std::unique_ptr<ITimer> QtTimerFactory::create(TimerRole)
{
    return std::make_unique<QtProgramTimer>(m_hold);
}

void QtTimerFactory::beginHold()
{
    ++m_hold->depth;
}

void QtTimerFactory::endHold()
{
    if (--m_hold->depth > 0)
        return;
    const std::vector<QtProgramTimer *> due = std::exchange(m_hold->due, {});
    for (QtProgramTimer *timer : due)
        timer->deliverLate();
}

} // namespace kugelfon
