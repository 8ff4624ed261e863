#include "ui/interval/intervaldialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace kugelfon {

namespace {

const FontSpec kBold{"Times New Roman", 14.25, true};

const Control kControls[] = {
    {Control::Label, "lblErklärung",
     QStringLiteral("Bitte stellen Sie den von Ihnen gewünschten Zeitintervall ein. Es sind Werte von "
                    "1 Sekunde bis 60 Sekunden möglich."),
     {120, 120, 6615, 435}, {}, Control::Wrap},
    {Control::Slider, "sldZeitinterval", {}, {120, 660, 6615, 435}},
    {Control::Label, "lblTextZeit", QStringLiteral("   Aktueller Zeitintervall:"), {120, 1200, 3135, 315}, kBold},
    {Control::Label, "lblSekundenAnzeige", {}, {3360, 1200, 1635, 315}, kBold},
    {Control::Button, "cmdZurück", QStringLiteral("Wert übernehmen"), {5160, 1200, 1635, 375}},
};

} // namespace

IntervalDialog::IntervalDialog()
    : FixedWindow({"frmZeitManuell", 6930, 1710, QStringLiteral(" - Zeiteinstellung Manuell")})
{
    buildControls(this, kControls);
    m_slider = control<QSlider>(this, "sldZeitinterval");
    m_slider->setRange(1, 60);
    m_slider->setPageStep(5);
    m_slider->setValue(1);
    m_seconds = control<QLabel>(this, "lblSekundenAnzeige");
    auto *take = control<QPushButton>(this, "cmdZurück");

    // With tracking on, valueChanged also comes while the thumb is dragged.
    connect(m_slider, &QSlider::valueChanged, this, &IntervalDialog::sliderMoved);
    connect(take, &QPushButton::clicked, this, &IntervalDialog::take);
    // The take button is the cancel button: Esc presses it.
    setCancelButton(take);
}

void IntervalDialog::sliderMoved(int value)
{
    m_moved = true;
    emit intervalChanged(static_cast<float>(value));
    m_seconds->setText(QString::number(value)
                       + (value == 1 ? QStringLiteral(" Sekunde") : QStringLiteral(" Sekunden")));
}

void IntervalDialog::take()
{
    m_taking = true;
    emit intervalTaken(m_slider->value());
    close();
}

void IntervalDialog::closeEvent(QCloseEvent *event)
{
    // The slider spoke for the interval as it moved; closed without taking,
    // only that is undone: an interval chosen meanwhile by a menu item stays.
    if (!m_taking && m_moved)
        emit sliderDropped();
    emit closed();
    event->accept();
}

} // namespace kugelfon
