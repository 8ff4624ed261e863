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

    // Shows the version and the maker's notice and starts the 1.5 s.
    void start();
    // The time is up: the splash goes and the start-up goes on.
    void finish();
    ITimer &splashTimer() { return *m_timer; }

private:
    void setupControls();

    static constexpr int kBorder = 1;

    Services m_services;
    std::function<void()> m_whenDone;
    std::unique_ptr<ITimer> m_timer;
};

} // namespace kugelfon
