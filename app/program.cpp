#include "app/program.h"

#include "app/splash.h"
#include "game/caller.h"
#include "platform/appinfo.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

namespace kugelfon {

void configureApplication(QApplication &app)
{
    // The program ends only through its quit question (or an unsupported screen).
    app.setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Kugelfon"));
    QApplication::setApplicationVersion(appinfo::versionText());

    installFontSubstitutions();
    useScreenPointsForDefaultFont();

    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    // Decoding the icons takes a few milliseconds; do it while the splash
    // window waits, not before it shows.
    QTimer::singleShot(0, &app, [] {
        QIcon icon;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            icon.addFile(QStringLiteral(":/images/icon-%1.png").arg(size), QSize(size, size));
        QApplication::setWindowIcon(icon);
    });
}

Program::Program(const Services &services, StartOptions options)
    : m_services(services), m_options(std::move(options))
{
}

Program::~Program()
{
    m_main.reset();
    if (m_splash)
        delete m_splash.data();
}

void Program::start()
{
    auto *splash = new SplashWindow(m_services, [this] { splashDone(); });
    m_splash = splash;
    splash->Form_Load();
    const ScreenMeasure screen = m_services.screen->measure();
    splash->move(screen.geometry.center() - splash->rect().center());
    splash->show();
}

void Program::splashDone()
{
    if (m_splash)
        m_splash->deleteLater();
    m_sheet = std::make_unique<CheckSheet>();
    m_caller = std::make_unique<Caller>(m_settings, m_services);
    m_main = std::make_unique<MainWindow>(m_settings, *m_caller, *m_sheet, m_services);
    if (!m_main->Form_Load())
        return;
    // Without a window manager "maximized" keeps the normal size, so make
    // that the whole screen too.
    m_main->setGeometry(m_services.screen->measure().available);
    m_main->showMaximized();
}

} // namespace kugelfon
