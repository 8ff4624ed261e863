#pragma once

#include "app/splash.h"
#include "platform/services.h"

#include <QPointer>
#include <memory>

class QApplication;

namespace kugelfon {

class MainWindow;

// Fonts, translations and icon that every window of the program relies on.
void configureApplication(QApplication &app);

// The start-up order: the splash window (which creates the store), then after
// its timer the hidden check sheet, then the main window.
class Program {
public:
    explicit Program(const Services &services);
    ~Program();

    void start();

    SplashWindow *splash() const { return m_splash; }
    MainWindow *mainWindow() const { return m_main.get(); }

private:
    void splashDone();

    Services m_services;
    QPointer<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_main;
};

} // namespace kugelfon
