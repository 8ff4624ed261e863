#include "ui/about/aboutwindow.h"

#include "platform/appinfo.h"
#include "ui/kit/fonts.h"
#include "platform/sysinfo.h"
#include "ui/kit/twips.h"
#include "platform/messagebox.h"
#include "platform/resources.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

namespace kugelfon {

AboutWindow::AboutWindow(const Services &services, QWidget *owner)
    : FixedWindow({"frmAbout", 6300, 3450, QStringLiteral(" - Information"), true, owner}),
      m_services(services)
{
    setupControls();
    Form_Load();
}

void AboutWindow::setupControls()
{
    auto *picProduct = new QLabel(this);
    picProduct->setObjectName(QStringLiteral("picProduct"));
    picProduct->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(picProduct, 180, 120, 795, 1875);
    const QImage product = QImage::fromData(m_services.resources->picture(QStringLiteral("product")));
    picProduct->setPixmap(QPixmap::fromImage(product));
    // The box is drawn for 120 dots per inch; at 96 it would cut the
    // 62 x 141 picture, so it grows to hold all of it.
    picProduct->resize(picProduct->size().expandedTo(product.size()));

    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("lblTitle"));
    m_titleLabel->setFont(screenFont(QStringLiteral("Times New Roman"), 14.25, true));
    place(m_titleLabel, 1050, 240, 4092, 480);

    m_versionLabel = new QLabel(this);
    m_versionLabel->setObjectName(QStringLiteral("lblVersion"));
    m_versionLabel->setFont(screenFont(QStringLiteral("Times New Roman"), 9.75, true));
    place(m_versionLabel, 1050, 600, 4095, 225);

    auto *explain = new QLabel(QStringLiteral("Kugelfon erstellt per Zufallsgenarator Zahlen die dann "
                                              "akustisch vorgetragen werden. Zudem können "
                                              "verschiedene Einstellungen vorgenommen werden."),
                               this);
    explain->setObjectName(QStringLiteral("lblProgErklärung"));
    explain->setFont(screenFont(QStringLiteral("Times New Roman"), 9.75));
    explain->setWordWrap(true);
    explain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(explain, 1080, 900, 5115, 750);

    auto *disclaimer = new QLabel(QStringLiteral("Warnung: Jegliche Programmänderungen oder "
                                                 "Verfälschungen sind zu unterlassen. Zudem wird    "
                                                 "keine Haftung für verlorene Daten übernommen."),
                                  this);
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    disclaimer->setWordWrap(true);
    disclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(disclaimer, 195, 2505, 3870, 600);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setDefault(true);
    place(m_okButton, 4725, 2505, 1467, 345);
    connect(m_okButton, &QPushButton::clicked, this, &AboutWindow::cmdOK_Click);

    m_sysInfoButton = new QPushButton(QStringLiteral("&System-Info..."), this);
    m_sysInfoButton->setObjectName(QStringLiteral("cmdSysInfo"));
    m_sysInfoButton->setAutoDefault(true);
    place(m_sysInfoButton, 4740, 2955, 1452, 345);
    connect(m_sysInfoButton, &QPushButton::clicked, this, &AboutWindow::cmdSysInfo_Click);
    setTabOrder(m_okButton, m_sysInfoButton);

    auto *internet = new QLabel(appinfo::webAddress(), this);
    internet->setObjectName(QStringLiteral("lblInternet"));
    internet->setFont(screenFont(QStringLiteral("Arial"), 9.75, true));
    place(internet, 180, 3180, 1515, 255);
    // The address is longer than the box drawn for it; show all of it.
    internet->adjustSize();

    // cmdOK is both the cancel button (Esc) and the default button (Enter);
    // Enter on the focused System-Info button presses that one instead.
    setCancelButton(m_okButton);
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, &AboutWindow::pressDefault);
    }
}

void AboutWindow::Form_Load()
{
    m_versionLabel->setText(QStringLiteral("Version ") + appinfo::versionText());
    m_titleLabel->setText(appinfo::title());
}

void AboutWindow::pressDefault()
{
    if (focusWidget() == m_sysInfoButton)
        m_sysInfoButton->click();
    else
        m_okButton->click();
}

void AboutWindow::cmdOK_Click()
{
    close();
}

void AboutWindow::cmdSysInfo_Click()
{
    StartSysInfo();
}

void AboutWindow::StartSysInfo()
{
    if (m_services.sysinfo->start())
        return;
    m_services.messages->show(this, QStringLiteral("Systeminformationsprogramm zur Zeit nicht verfügbar."),
                              MsgButtons::Ok);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    // Centred over the owner the first time it is shown.
    if (!m_centred && parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    m_centred = true;
    QWidget::showEvent(event);
}

void AboutWindow::paintEvent(QPaintEvent *)
{
    // The etched rule between the explanation and the warning.
    QPainter p(this);
    const int y1 = twipsToPx(2310);
    const int y2 = twipsToPx(2325);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(twipsToPx(165), y1, twipsToPx(6200), y1);
    p.setPen(Qt::white);
    p.drawLine(twipsToPx(180), y2, twipsToPx(6200), y2);
}

} // namespace kugelfon
