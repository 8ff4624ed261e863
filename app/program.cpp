#include "app/program.h"

#include "app/splash.h"
#include "game/caller.h"
#include "platform/appinfo.h"
#include "platform/console.h"
#include "platform/singleinstance.h"
#include "ui/hall/halldisplay.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"
#include "ui/kit/fonts.h"
#include "ui/kit/twips.h"
#include "ui/main/layout.h"
#include "platform/messagebox.h"
#include "platform/screenmetrics.h"
#include "platform/soundoutput.h"
#include "platform/timer.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <QWindow>
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

std::optional<int> handOver(ISingleInstance &instance, const QStringList &typed)
{
    switch (instance.claim()) {
    case ISingleInstance::Claim::Held:
        break;
    case ISingleInstance::Claim::Answered:
        if (!typed.isEmpty())
            console::writeError(QStringLiteral("Kugelfon läuft schon und wurde nach vorn geholt; es läuft "
                                               "weiter wie gestartet, ohne „%1“.\n")
                                    .arg(typed.join(QLatin1Char(' '))));
        return 0;
    case ISingleInstance::Claim::Unanswered:
        // A second caller is worse than none: this start does not run.
        console::writeError(QStringLiteral("Kugelfon läuft schon, antwortet aber nicht; beenden Sie es, "
                                           "bevor Sie Kugelfon neu starten.\n"));
        return 1;
    }
    return std::nullopt;
}

Program::Program(const Services &services, StartOptions options)
    : m_services(services), m_options(std::move(options))
{
    // The organiser learns of every failure that the hall hears nothing, once
    // until the sound plays again; the box does not wait, so automatic
    // calling goes on behind it.
    m_services.sound->setFailureHandler(
        [this](const QString &notice) { m_services.messages->notice(m_main.get(), notice); });
    // Calls one after another hold the window thread most of the time: the
    // hall follows the screens and gives way to the main window meanwhile,
    // and a screen reader hears what the windows show. Input waits for the
    // call's end, and the game's timers do too.
    m_services.sound->setWaitHandler([this] {
        const ITimerFactory::Hold hold(*m_services.timers);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

Program::~Program()
{
    m_services.sound->setFailureHandler({});
    m_services.sound->setWaitHandler({});
    m_hall.reset();
    m_main.reset();
    if (m_splash)
        delete m_splash.data();
}

void Program::start()
{
    auto *splash = new SplashWindow(m_services, [this] { splashDone(); });
    m_splash = splash;
    splash->start();
    const ScreenMeasure screen = m_services.screen->measure();
    splash->move(screen.geometry.center() - splash->rect().center());
    splash->show();
}

void Program::bringToFront()
{
    // During the splash the main window is yet to come, and comes in front;
    // a refused screen's window stays hidden.
    if (m_main && m_main->isVisible())
        m_main->bringToFront();
    else if (m_splash)
        m_splash->raise();
}

namespace {

// The screen of one of the four layouts, as the main window measures it
// when it runs in a window on a screen of another size.
class LevelScreen final : public IScreenMetrics {
public:
    LevelScreen(const ScreenMeasure &real, const QSize &level) : m_measure(real)
    {
        m_measure.twipsPerPixelX = m_measure.twipsPerPixelY = kTwipsPerPixel;
        m_measure.twipsWidth = level.width() * kTwipsPerPixel;
        m_measure.twipsHeight = level.height() * kTwipsPerPixel;
    }
    ScreenMeasure measure() const override { return m_measure; }

private:
    ScreenMeasure m_measure;
};

// How far to move the span from..to into lo..hi; one too long starts at lo.
int into(int from, int to, int lo, int hi)
{
    if (from < lo || to - from > hi - lo)
        return lo - from;
    return to > hi ? hi - to : 0;
}

// The window was placed with the frame allowance; the window manager's own
// frame is known only once it has framed the window, and may be spread
// otherwise (openbox: 20 px above, 5 below, the bottom edge 1 px off a free
// area filled exactly). Then the frame is moved into the free area, once.
class FrameInside final : public QObject {
public:
    FrameInside(QWidget &window, const QRect &area) : QObject(&window), m_window(window), m_area(area)
    {
        window.windowHandle()->installEventFilter(this);
        check();
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Expose || event->type() == QEvent::Move)
            check();
        return false;
    }

private:
    void check()
    {
        QWindow *handle = m_window.windowHandle();
        const QMargins frame = handle->frameMargins();
        if (frame.isNull() || m_done)
            return; // not framed yet
        m_done = true;
        handle->removeEventFilter(this);
        const QRect framed = handle->geometry().marginsAdded(frame);
        const QPoint shift(into(framed.left(), framed.right(), m_area.left(), m_area.right()),
                           into(framed.top(), framed.bottom(), m_area.top(), m_area.bottom()));
        if (!shift.isNull())
            m_window.setGeometry(m_window.geometry().translated(shift));
        deleteLater();
    }

    QWidget &m_window;
    const QRect m_area;
    bool m_done = false;
};

} // namespace

void Program::splashDone()
{
    if (m_splash)
        m_splash->deleteLater();
    m_caller = std::make_unique<Caller>(m_services);
    m_sheet = std::make_unique<CheckSheet>(*m_caller);

    // In a window, the main window takes the largest layout that fits the
    // free area; the other windows keep the real screen. One of the four
    // screens left whole is filled as without --fenster, its layout being
    // made for a maximized window there; a panel, or the allowance for panels
    // Wayland does not report, leaves too little for that. Where not even
    // the smallest window fits, such a screen is still filled, not refused.
    Services mainServices = m_services;
    const ScreenMeasure real = m_services.screen->measure();
    QRect window;
    int windowLevel = 0;
    double scale = 1;
    if (m_options.windowed && (computeScreenLayout(real).level == 0 || real.available != real.geometry)) {
        windowLevel = levelFittingWindow(real.available.size());
        // Smaller than the smallest window: that one, drawn smaller to fit.
        const double smaller = scaleFittingWindow(real.available.size());
        if (windowLevel == 0 && smaller > 0) {
            windowLevel = 1;
            scale = smaller;
        }
    }
    if (windowLevel > 0) {
        m_levelScreen = std::make_unique<LevelScreen>(real, levelScreenSize(windowLevel));
        mainServices.screen = *m_levelScreen;
        const QSize client = (QSizeF(levelScreenSize(windowLevel)) * scale).toSize();
        const QSize framed = client.grownBy(kWindowFrameAllowance);
        const QPoint frameTopLeft = real.available.topLeft()
            + QPoint((real.available.width() - framed.width()) / 2,
                     (real.available.height() - framed.height()) / 2);
        window = QRect(frameTopLeft + QPoint(kWindowFrameAllowance.left(), kWindowFrameAllowance.top()),
                       client);
    }
    m_main = std::make_unique<MainWindow>(*m_caller, *m_sheet, mainServices);
    m_main->setScale(scale);
    if (!m_main->startUp()) {
        m_refused = true;
        return;
    }
    // On Wayland a program cannot place its windows and the compositor puts
    // the newest in front: there the hall comes first, behind the main window.
    if (m_options.hallDisplay && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        m_hall = std::make_unique<HallDisplay>(*m_caller, *m_services.screens, *m_main,
                                               &m_main->shownTicket());
    if (windowLevel > 0) {
        m_main->setGeometry(window);
        m_main->show();
        new FrameInside(*m_main, real.available);
    } else {
        // Without a window manager "maximized" keeps the normal size, so make
        // that the whole screen too.
        m_main->setGeometry(real.available);
        m_main->showMaximized();
    }
    // It goes to a screen other than the main window's, so it comes after it.
    if (m_options.hallDisplay && !m_hall)
        m_hall = std::make_unique<HallDisplay>(*m_caller, *m_services.screens, *m_main,
                                               &m_main->shownTicket());
}

} // namespace kugelfon
