#pragma once

#include "app/options.h"
#include "app/splash.h"
#include "platform/services.h"

#include <QPointer>
#include <memory>
#include <optional>

class QApplication;

namespace kugelfon {

class Caller;
class CheckSheet;
class HallDisplay;
class ISingleInstance;
class MainWindow;

// Fonts, translations and icon that every window of the program relies on.
void configureApplication(QApplication &app);

// A start while Kugelfon runs in this desktop session brings that one to the
// front and ends with the status returned, naming the options `typed` that it
// leaves unused; none when this start is the one that runs.
std::optional<int> handOver(ISingleInstance &instance, const QStringList &typed);

// The start-up order: the splash window, then after its timer the hidden
// check sheet, then the main window. Owns the game and its windows.
class Program {
public:
    explicit Program(const Services &services, StartOptions options = {});
    ~Program();

    void start();
    // A later start asked: the main window to the front, as it was before it
    // was minimised.
    void bringToFront();

    SplashWindow *splash() const { return m_splash; }
    MainWindow *mainWindow() const { return m_main.get(); }
    CheckSheet *checkSheet() const { return m_sheet.get(); }
    // Only with --saalanzeige.
    HallDisplay *hallDisplay() const { return m_hall.get(); }
    Caller *caller() const { return m_caller.get(); }
    // The screen was refused: the program ends with status 1.
    bool refused() const { return m_refused; }

private:
    void splashDone();

    Services m_services;
    StartOptions m_options;
    QPointer<SplashWindow> m_splash;
    std::unique_ptr<Caller> m_caller;
    std::unique_ptr<CheckSheet> m_sheet; // follows the caller
    std::unique_ptr<IScreenMetrics> m_levelScreen;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<HallDisplay> m_hall;
    bool m_refused = false;
};

} // namespace kugelfon
