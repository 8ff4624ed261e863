#include "platform/qttimer.h"

namespace kugelfon {

QtProgramTimer::QtProgramTimer()
{
    // QTimer delivers a due tick once when the thread becomes free again, so
    // ticks never pile up behind a busy handler.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (m_enabled && m_interval > 0)
            fire();
    });
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
    // QTimer fires continuously at 0; this timer never does.
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

std::unique_ptr<ITimer> QtTimerFactory::create(const QString &)
{
    return std::make_unique<QtProgramTimer>();
}

} // namespace kugelfon
