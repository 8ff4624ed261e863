#pragma once

#include "platform/services.h"
#include "platform/timer.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace kugelfon {

// frmSplash: product name, version and maker's notice for 1.5 s; its timer
// drives the rest of the start-up.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow(const Services &services, std::function<void()> whenDone);
    ~SplashWindow() override;

    void Form_Load();
    void SplashTimer_Timer();
    ITimer &splashTimer() { return *m_timer; }

private:
    void setupControls();

    static constexpr int kBorder = 1;

    Services m_services;
    std::function<void()> m_whenDone;
    std::unique_ptr<ITimer> m_timer;
};

} // namespace kugelfon
