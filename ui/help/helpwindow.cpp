#include "ui/help/helpwindow.h"

#include "platform/resources.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace kugelfon {

const QList<HelpWindow::Topic> &HelpWindow::topics()
{
    static const QList<Topic> list = {
        {QStringLiteral("Spiel starten"), 101},
        {QStringLiteral("Stimmenmodus einstellen"), 102},
        {QStringLiteral("Schaltmodus einstellen"), 103},
        {QStringLiteral("Zeitintervall einstellen"), 104},
        {QStringLiteral("Zahlengenerator"), 105},
        {QStringLiteral("Kontrollblatt"), 107},
        {QStringLiteral("Spielschein drucken"), 108},
        {QStringLiteral("Spielschein prüfen"), 110},
        {QStringLiteral("Kontaktmöglichkeiten"), 109},
    };
    return list;
}

QString HelpWindow::placeholder()
{
    return QStringLiteral("bitte wählen Sie ein Schlagwort oder Thema aus ...");
}

namespace {

const Control kControls[] = {
    {Control::Label, "lblEinführung",
     QStringLiteral("Willkommen im Anleitungs- und Hilfeteil dieses Programmes. Hier wird Ihnen die "
                    "Bedienung des Programmes erläutert und Hilfestellung zur Vermeidung von Fehlern, "
                    "beziehungsweise mögliche Abhilfen aufgezeigt. Sollten dennoch Fehler auftreten, die "
                    "während der Herstellung des Produktes und deren Testphase nicht aufgetreten sind, "
                    "reproduzierbare Fehler vorhanden sein, können Sie uns jeder Zeit kontaktieren."),
     {120, 120, 7455, 1035}, {}, Control::Wrap | Control::TopLeft | Control::Fit},
    // Sized in twips for a narrower system font; it grows to its whole text.
    {Control::Label, "lblThemen", QStringLiteral("Schlagworte und Themen:"), {120, 1320, 1995, 195}, {},
     Control::Fit},
    {Control::Field, "cboThemen", {}, {2220, 1260, 5415, 0}, {"Arial", 8.25, true}},
    {Control::Label, "Image1", {}, {120, 1800, 7500, 5600}, {}, Control::TopLeft},
    {Control::Button, "cmdZurück", QStringLiteral("Hilfe verlassen und Zurück"), {5340, 7500, 2295, 375}},
};

} // namespace

HelpWindow::HelpWindow(const Services &services, std::function<void()> showMainWindow)
    : FixedWindow({"frmHilfe", 7725, 8025, QStringLiteral(" - Anleitung und Hilfe")}),
      m_services(services), m_showMain(std::move(showMainWindow))
{
    buildControls(this, kControls);
    // Only the free area and the picture react to the mouse; moves over the
    // controls must not reach the window.
    for (QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        w->setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
    m_topicBox = control<QComboBox>(this, "cboThemen");
    m_topicBox->installEventFilter(this);
    // A topic chosen by arrow key or Enter shows at once: a keyboard user
    // makes no mouse move that would show it.
    connect(m_topicBox, &QComboBox::activated, this, &HelpWindow::showChosenTopic);
    m_image = control<QLabel>(this, "Image1");
    m_image->setMouseTracking(true);
    m_image->installEventFilter(this);
    auto *back = control<QPushButton>(this, "cmdZurück");
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    // The back button is the cancel button: Esc presses it.
    setCancelButton(back);
    fillTopics();
}

void HelpWindow::fillTopics()
{
    m_topicBox->addItem(placeholder());
    for (const Topic &t : topics())
        m_topicBox->addItem(t.text);
    m_topicBox->setCurrentIndex(0);
    showPicture(101);
}

void HelpWindow::showChosenTopic()
{
    const QString text = m_topicBox->currentText();
    for (const Topic &t : topics()) {
        if (text.compare(t.text, Qt::CaseSensitive) == 0) {
            showPicture(t.picture);
            return;
        }
    }
}

void HelpWindow::showPicture(int id)
{
    const QImage img = QImage::fromData(m_services.resources->picture(QStringLiteral("help-%1").arg(id)));
    m_image->setPixmap(QPixmap::fromImage(img));
    m_shown = id;
}

void HelpWindow::mouseMoveEvent(QMouseEvent *event)
{
    showChosenTopic();
    QWidget::mouseMoveEvent(event);
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_image && event->type() == QEvent::MouseMove) {
        showChosenTopic();
    } else if (watched == m_topicBox && event->type() == QEvent::FocusOut) {
        // Opening the drop-down list keeps the focus in the combo box.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            showChosenTopic();
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_showMain)
        m_showMain();
}

} // namespace kugelfon
