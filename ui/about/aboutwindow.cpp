#include "ui/about/aboutwindow.h"

#include "platform/appinfo.h"
#include "platform/sysinfo.h"
#include "ui/kit/twips.h"
#include "platform/messagebox.h"
#include "platform/resources.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <vector>

namespace kugelfon {

namespace {

const FontSpec kTitleFont{"Times New Roman", 14.25, true};
const FontSpec kTextFont{"Times New Roman", 9.75, true};

std::vector<Control> controls()
{
    using C = Control;
    return {
        {C::Label, "picProduct", {}, {180, 120, 795, 1875}, {}, C::TopLeft},
        {C::Label, "lblTitle", appinfo::title(), {1050, 240, 4092, 480}, kTitleFont},
        {C::Label, "lblVersion", QStringLiteral("Version ") + appinfo::versionText(), {1050, 600, 4095, 225},
         kTextFont},
        {C::Label, "lblProgErklärung",
         QStringLiteral("Kugelfon erstellt per Zufallsgenarator Zahlen die dann akustisch vorgetragen "
                        "werden. Zudem können verschiedene Einstellungen vorgenommen werden."),
         {1080, 900, 5115, 750}, {"Times New Roman", 9.75}, C::Wrap | C::TopLeft},
        {C::Label, "lblDisclaimer",
         // The licence allows changes; the box says so instead of forbidding them.
         QStringLiteral("Freie Software unter der GNU GPL, Version 3 oder später; ohne jede "
                        "Gewährleistung."),
         {195, 2505, 3870, 600}, {}, C::Wrap | C::TopLeft},
        {C::Button, "cmdOK", QStringLiteral("OK"), {4725, 2505, 1467, 345}, {}, C::Default},
        {C::Button, "cmdSysInfo", QStringLiteral("&System-Info..."), {4740, 2955, 1452, 345}, {}, C::AutoDefault},
        // The address is longer than the box drawn for it; all of it shows.
        {C::Label, "lblInternet", appinfo::webAddress(), {180, 3180, 1515, 255}, {"Arial", 9.75, true}, C::Fit},
    };
}

} // namespace

AboutWindow::AboutWindow(const Services &services, QWidget *owner)
    : FixedWindow({"frmAbout", 6300, 3450, QStringLiteral(" - Information"), true, owner}),
      m_services(services)
{
    buildControls(this, controls());
    showProductPicture();
    m_okButton = control<QPushButton>(this, "cmdOK");
    m_sysInfoButton = control<QPushButton>(this, "cmdSysInfo");
    connect(m_okButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_sysInfoButton, &QPushButton::clicked, this, &AboutWindow::startSystemInfo);

    // OK is both the cancel button (Esc) and the default button (Enter);
    // Enter on the focused System-Info button presses that one instead.
    setCancelButton(m_okButton);
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, &AboutWindow::pressDefault);
    }
}

void AboutWindow::showProductPicture()
{
    auto *picture = control<QLabel>(this, "picProduct");
    const QImage product = QImage::fromData(m_services.resources->picture(QStringLiteral("product")));
    picture->setPixmap(QPixmap::fromImage(product));
    // The box is drawn for 120 dots per inch; at 96 it would cut the
    // 62 x 141 picture, so it grows to hold all of it.
    picture->resize(picture->size().expandedTo(product.size()));
}

void AboutWindow::pressDefault()
{
    if (focusWidget() == m_sysInfoButton)
        m_sysInfoButton->click();
    else
        m_okButton->click();
}

void AboutWindow::startSystemInfo()
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
