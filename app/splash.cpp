#include "app/splash.h"

#include "platform/appinfo.h"
#include "ui/kit/fonts.h"
#include "ui/kit/twips.h"
#include "platform/resources.h"
#include "platform/timer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSysInfo>

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
    m_timer->setHandler([this] { SplashTimer_Timer(); });
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

    auto place = [](QWidget *w, double l, double t) {
        w->move(twipsToPx(l), twipsToPx(t));
    };
    auto label = [frame, &place](const char *name, const QString &text, double points, double l,
                                 double t) {
        auto *lbl = new QLabel(text, frame);
        lbl->setObjectName(QString::fromLatin1(name));
        lbl->setFont(screenFont(QStringLiteral("Times New Roman"), points, true));
        place(lbl, l, t);
        lbl->adjustSize(); // the labels size themselves to their text
        return lbl;
    };

    auto *logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("PicLogo"));
    logo->setPixmap(QPixmap::fromImage(QImage::fromData(m_services.resources->picture(QStringLiteral("splash-logo")))));
    logo->setGeometry(0, 0, twipsToPx(2000), twipsToPx(4600));
    logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    label("lblProductName1", appinfo::productName(), 29.25, 3000, 1080);
    label("lblVersion", QStringLiteral("Version"), 12, 4500, 1920);
    label("lblCompany", QString(), 12, 4920, 120);
    label("lblCompanyProduct1", appinfo::makerNotice(), 8.25, 3240, 2460);
    label("lblPlatform1", QSysInfo::prettyProductName(), 14.25, 3000, 3000);
}

void SplashWindow::Form_Load()
{
    if (auto *version = findChild<QLabel *>(QStringLiteral("lblVersion"))) {
        version->setText(QStringLiteral("Version ") + appinfo::versionText());
        version->adjustSize();
    }
    m_timer->setEnabled(true);
    if (auto *company = findChild<QLabel *>(QStringLiteral("lblCompany"))) {
        QString notice = appinfo::makerNoticeTwoLines();
        notice.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        company->setText(notice);
        company->adjustSize();
    }
}

void SplashWindow::SplashTimer_Timer()
{
    m_timer->setEnabled(false);
    hide();
    if (m_whenDone)
        m_whenDone();
}

} // namespace kugelfon
