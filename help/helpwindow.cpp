#include "help/helpwindow.h"

#include "ui/kit/fonts.h"
#include "ui/kit/twips.h"
#include "platform/resources.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

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
        {QStringLiteral("Kontaktmöglichkeiten"), 109},
    };
    return list;
}

QString HelpWindow::placeholder()
{
    return QStringLiteral("bitte wählen Sie ein Schlagwort oder Thema aus ...");
}

HelpWindow::HelpWindow(const Services &services, std::function<void()> showMainWindow)
    : FixedWindow({"frmHilfe", 7725, 8025, QStringLiteral(" - Anleitung und Hilfe")}),
      m_services(services), m_showMain(std::move(showMainWindow))
{
    setupControls();
    Form_Load();
}

void HelpWindow::setupControls()
{
    // Only the free area and the picture react to the mouse; moves over the
    // other controls must not reach the window.
    auto quiet = [](QWidget *w) { w->setAttribute(Qt::WA_NoMousePropagation); };

    auto *intro = new QLabel(
        QStringLiteral("Willkommen im Anleitungs- und Hilfeteil dieses Programmes. Hier wird "
                       "Ihnen die Bedienung des Programmes erläutert und Hilfestellung zur "
                       "Vermeidung von Fehlern, beziehungsweise mögliche Abhilfen aufgezeigt. "
                       "Sollten dennoch Fehler auftreten, die während der Herstellung des "
                       "Produktes und deren Testphase nicht aufgetreten sind, reproduzierbare "
                       "Fehler vorhanden sein, können Sie uns jeder Zeit kontaktieren."),
        this);
    intro->setObjectName(QStringLiteral("lblEinführung"));
    intro->setWordWrap(true);
    intro->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(intro, 120, 120, 7455, 1035);
    // Never cut the last line off when the font runs a little larger.
    intro->resize(intro->width(), std::max(intro->height(), intro->heightForWidth(intro->width())));
    quiet(intro);

    auto *themen = new QLabel(QStringLiteral("Schlagworte und Themen:"), this);
    themen->setObjectName(QStringLiteral("lblThemen"));
    place(themen, 120, 1320, 1995, 195);
    // A label sized in twips for the original system font; let it show
    // its whole text if ours is a little wider.
    themen->adjustSize();
    quiet(themen);

    m_topicBox = new QComboBox(this);
    m_topicBox->setObjectName(QStringLiteral("cboThemen"));
    m_topicBox->setEditable(true);
    m_topicBox->setInsertPolicy(QComboBox::NoInsert);
    // No completion: it would turn typed "kontrollblatt" into a topic.
    m_topicBox->setCompleter(nullptr);
    m_topicBox->setFont(screenFont(QStringLiteral("Arial"), 8.25, true));
    m_topicBox->setGeometry(twipsToPx(2220), twipsToPx(1260), twipsToPx(5415),
                             m_topicBox->sizeHint().height());
    m_topicBox->installEventFilter(this);
    quiet(m_topicBox);

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image->setMouseTracking(true);
    m_image->installEventFilter(this);
    place(m_image, 120, 1800, 7500, 5600);
    quiet(m_image);

    m_backButton = new QPushButton(QStringLiteral("Hilfe verlassen und Zurück"), this);
    m_backButton->setObjectName(QStringLiteral("cmdZurück"));
    place(m_backButton, 5340, 7500, 2295, 375);
    quiet(m_backButton);
    connect(m_backButton, &QPushButton::clicked, this, &HelpWindow::cmdZurueck_Click);

    // cmdZurück is the cancel button: Esc presses it.
    setCancelButton(m_backButton);

    setMouseTracking(true);
}

void HelpWindow::Form_Load()
{
    m_topicBox->clear();
    m_topicBox->addItem(placeholder());
    for (const Topic &t : topics())
        m_topicBox->addItem(t.text);
    m_topicBox->setCurrentIndex(0);
    showPicture(101);
}

void HelpWindow::cboThemen_LostFocus()
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

void HelpWindow::cmdZurueck_Click()
{
    close();
}

void HelpWindow::mouseMoveEvent(QMouseEvent *event)
{
    cboThemen_LostFocus();
    QWidget::mouseMoveEvent(event);
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_image && event->type() == QEvent::MouseMove) {
        cboThemen_LostFocus();
    } else if (watched == m_topicBox && event->type() == QEvent::FocusOut) {
        // Opening the drop-down list keeps the focus in the combo box.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            cboThemen_LostFocus();
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
