#include "app/splash.h"

#include "platform/appinfo.h"
#include "ui/kit/fixedwindow.h"
#include "ui/kit/twips.h"
#include "platform/resources.h"
#include "platform/timer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSysInfo>
#include <vector>

namespace kugelfon {

SplashWindow::SplashWindow(const Services &services, std::function<void()> whenDone)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_services(services),
      m_whenDone(std::move(whenDone))
{
    setObjectName(QStringLiteral("frmSplash"));
    m_timer = m_services.timers->create(TimerRole::Splash);
    m_timer->setInterval(1500);
    m_timer->setEnabled(false);
    m_timer->setHandler([this] { finish(); });
    setupControls();
}

SplashWindow::~SplashWindow() = default;

namespace {

// The cyan frame that fills the window inside its border, with the lines
// that separate logo and texts.
class SplashFrame final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QWidget::paintEvent(event);
        QPainter p(this);
        p.setPen(QPen(Qt::black, 1));
        auto x = [](double t) { return twipsToPx(t); };
        auto y = x;
        p.drawLine(x(2000), y(-50), x(2000), y(4600));
        p.drawLine(x(1980), y(2880), x(7440), y(2880));
        p.drawLine(x(1980), y(3480), x(7440), y(3480));
    }
};

std::vector<Control> controls()
{
    using C = Control;
    auto bold = [](double points) { return FontSpec{"Times New Roman", points, true}; };
    // The labels size themselves to their text.
    return {
        {C::Label, "PicLogo", {}, {0, 0, 2000, 4600}, {}, C::TopLeft},
        {C::Label, "lblProductName1", appinfo::productName(), {3000, 1080, 0, 0}, bold(29.25), C::Fit},
        {C::Label, "lblVersion", QStringLiteral("Version"), {4500, 1920, 0, 0}, bold(12), C::Fit},
        {C::Label, "lblCompany", {}, {4920, 120, 0, 0}, bold(12), C::Fit},
        {C::Label, "lblCompanyProduct1", appinfo::makerNotice(), {3240, 2460, 0, 0}, bold(8.25), C::Fit},
        {C::Label, "lblPlatform1", QSysInfo::prettyProductName(), {3000, 3000, 0, 0}, bold(14.25), C::Fit},
    };
}

} // namespace

void SplashWindow::setupControls()
{
    // A fixed single border: one black pixel around the client area.
    const QSize client(twipsToPx(7425), twipsToPx(4575));
    setFixedSize(client + QSize(2 * kBorder, 2 * kBorder));
    setAutoFillBackground(true);
    QPalette border = palette();
    border.setColor(QPalette::Window, Qt::black);
    setPalette(border);

    auto *frame = new SplashFrame(this);
    frame->setObjectName(QStringLiteral("fraMainFrame"));
    frame->setGeometry(QRect(QPoint(kBorder, kBorder), client));
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, QColor(0, 255, 255));
    pal.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(pal);

    buildControls(frame, controls());
    control<QLabel>(this, "PicLogo")->setPixmap(
        QPixmap::fromImage(QImage::fromData(m_services.resources->picture(QStringLiteral("splash-logo")))));
}

void SplashWindow::start()
{
    auto *version = control<QLabel>(this, "lblVersion");
    version->setText(QStringLiteral("Version ") + appinfo::versionText());
    version->adjustSize();
    m_timer->setEnabled(true);
    auto *company = control<QLabel>(this, "lblCompany");
    QString notice = appinfo::makerNoticeTwoLines();
    notice.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    company->setText(notice);
    company->adjustSize();
}

void SplashWindow::finish()
{
    m_timer->setEnabled(false);
    hide();
    if (m_whenDone)
        m_whenDone();
}

} // namespace kugelfon
