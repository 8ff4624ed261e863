#pragma once

#include "platform/timer.h"

#include <QTimer>

namespace kugelfon {

class QtProgramTimer final : public ITimer {
public:
    QtProgramTimer();
    void setInterval(int ms) override;
    int interval() const override { return m_interval; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return m_enabled; }

private:
    void apply();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
};

class QtTimerFactory final : public ITimerFactory {
public:
    std::unique_ptr<ITimer> create(const QString &name) override;
};

} // namespace kugelfon
