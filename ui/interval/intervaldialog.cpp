#include "ui/interval/intervaldialog.h"

#include "ui/kit/fonts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace kugelfon {

IntervalDialog::IntervalDialog()
    : FixedWindow({"frmZeitManuell", 6930, 1710, QStringLiteral(" - Zeiteinstellung Manuell")})
{
    setupControls();
    setupConnections();
}

void IntervalDialog::setupControls()
{
    auto *explain = new QLabel(QStringLiteral("Bitte stellen Sie den von Ihnen gewünschten "
                                              "Zeitintervall ein. Es sind Werte von 1 Sekunde bis "
                                              "60 Sekunden möglich."),
                               this);
    explain->setObjectName(QStringLiteral("lblErklärung"));
    explain->setWordWrap(true);
    place(explain, 120, 120, 6615, 435);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("sldZeitinterval"));
    m_slider->setRange(1, 60);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(5);
    m_slider->setTickPosition(QSlider::NoTicks);
    m_slider->setValue(1);
    place(m_slider, 120, 660, 6615, 435);

    const QFont bold = screenFont(QStringLiteral("Times New Roman"), 14.25, true);
    auto *text = new QLabel(QStringLiteral("   Aktueller Zeitintervall:"), this);
    text->setObjectName(QStringLiteral("lblTextZeit"));
    text->setFont(bold);
    place(text, 120, 1200, 3135, 315);

    m_seconds = new QLabel(this);
    m_seconds->setObjectName(QStringLiteral("lblSekundenAnzeige"));
    m_seconds->setFont(bold);
    place(m_seconds, 3360, 1200, 1635, 315);

    m_take = new QPushButton(QStringLiteral("Wert übernehmen"), this);
    m_take->setObjectName(QStringLiteral("cmdZurück"));
    place(m_take, 5160, 1200, 1635, 375);
}

void IntervalDialog::setupConnections()
{
    // With tracking on, valueChanged also comes while the thumb is dragged.
    connect(m_slider, &QSlider::valueChanged, this, &IntervalDialog::sliderMoved);
    connect(m_take, &QPushButton::clicked, this, &IntervalDialog::take);
    // The take button is the cancel button: Esc presses it.
    setCancelButton(m_take);
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
