#include "ui/check/checkwindow.h"

#include "platform/messagebox.h"
#include "tickets/ticketverdict.h"
#include "ui/kit/ticketpicture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QWindow>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kugelfon {

namespace {

const Control kControls[] = {
    {Control::Label, "lblPrüfnummer", QStringLiteral("Prüfnummer vom Spielschein:"), {120, 165, 2700, 255}},
    {Control::Label, "lblFehler", QString(), {120, 570, 8760, 420}, {}, Control::Wrap | Control::TopLeft},
    {Control::Label, "lblSchein", QString(), {120, 1050, 8760, 255}},
    {Control::Label, "lblGezogen", QString(), {120, 6000, 8760, 255}},
    {Control::Label, "lblAnderePool", QString(), {120, 6270, 8760, 255}},
};

QString numbersText(int n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

// "Block 1: Reihe 2 voll. Noch offen: Reihe 1 (2 Zahlen), Reihe 3 (1 Zahl)."
QString blockText(int b, const BlockVerdict &v)
{
    const QString head = QStringLiteral("Block %1: ").arg(b);
    if (v.full())
        return head + QStringLiteral("ganzer Block voll.");
    QStringList full, open;
    for (int r = 1; r <= v.rows; ++r) {
        if (v.rowFull(r))
            full << QString::number(r);
        else
            open << QStringLiteral("Reihe %1 (%2)").arg(r).arg(numbersText(v.missing[size_t(r)], "Zahl", "Zahlen"));
    }
    const QString rows = full.isEmpty()   ? QStringLiteral("keine Reihe voll")
                         : full.size() == 1 ? QStringLiteral("Reihe %1 voll").arg(full.front())
                                            : QStringLiteral("Reihen %1 voll").arg(full.join(QStringLiteral(", ")));
    return head + rows + QStringLiteral(". Noch offen: ") + open.join(QStringLiteral(", ")) + QLatin1Char('.');
}

// The ticket drawn as printed, with the game's marks.
class TicketView final : public QWidget {
public:
    TicketView(QWidget *parent, const Caller &caller, const std::optional<NumberedTicket> &ticket)
        : QWidget(parent), m_caller(caller), m_ticket(ticket)
    {
    }
    TicketPicture picture() const { return TicketPicture(rect().adjusted(6, 6, -6, -6), m_ticket->layout); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(160, 160, 160));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (!m_ticket)
            return;
        QFont f(QStringLiteral("Times New Roman"));
        f.setBold(true);
        picture().paint(p, *m_ticket, m_caller.view().marked, checkSheetTicketColours(), f);
    }

private:
    const Caller &m_caller;
    const std::optional<NumberedTicket> &m_ticket;
};

} // namespace

QString checkNumberErrorText(CheckNumberError error, int digits)
{
    QString what;
    switch (error) {
    case CheckNumberError::None: return {};
    case CheckNumberError::NotDigits: what = QStringLiteral("Sie besteht nur aus Ziffern."); break;
    case CheckNumberError::WrongLength:
        what = QStringLiteral("Sie hat %1 Ziffern, eingegeben sind %2.").arg(kCheckNumberDigits).arg(digits);
        break;
    case CheckNumberError::WrongCheckDigit:
        what = QStringLiteral("Eine Ziffer ist falsch oder zwei sind vertauscht.");
        break;
    case CheckNumberError::UnknownVersion:
        what = QStringLiteral("Sie stammt nicht von diesem Kugelfon.");
        break;
    case CheckNumberError::Impossible:
        what = QStringLiteral("Zu ihr gibt es keinen Spielschein.");
        break;
    }
    return QStringLiteral("Die Prüfnummer stimmt nicht. ") + what
           + QStringLiteral(" Bitte noch einmal genau abschreiben.");
}

CheckWindow::CheckWindow(const Caller &caller, ShownTicket &hall)
    : FixedWindow({"frmPrüfen", 9000, 8700, QStringLiteral(" - Spielschein prüfen")}),
      m_caller(caller),
      m_hall(hall)
{
    // The question after "Bingo!" blocks the main window, not this one: the
    // claimed ticket is checked before it is answered.
    setProperty(kInputBesideBoxes, true);
    buildControls(this, kControls);
    m_error = control<QLabel>(this, "lblFehler");
    QPalette red = m_error->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    m_error->setPalette(red);
    m_about = control<QLabel>(this, "lblSchein");
    m_count = control<QLabel>(this, "lblGezogen");
    m_pool = control<QLabel>(this, "lblAnderePool");
    m_pool->setPalette(red);

    m_field = new QLineEdit(this);
    setUpControl(m_field, {Control::Field, "txtPrüfnummer", QString(), {2880, 105, 4200, 360}});
    m_field->setMaxLength(60);
    auto *checkButton = new QPushButton(this);
    setUpControl(checkButton, {Control::Button, "cmdPrüfen", QStringLiteral("Prüfen"), {7200, 98, 1680, 375}});
    m_view = new TicketView(this, caller, m_ticket);
    m_view->setObjectName(QStringLiteral("picSchein"));
    place(m_view, {120, 1350, 8760, 4560});
    m_verdict = new QPlainTextEdit(this);
    m_verdict->setObjectName(QStringLiteral("txtUrteil"));
    m_verdict->setReadOnly(true);
    m_verdict->setFocusPolicy(Qt::ClickFocus);
    place(m_verdict, {120, 6570, 8760, 1530});
    auto *close = new QPushButton(this);
    setUpControl(close, {Control::Button, "cmdSchließen", QStringLiteral("Schließen"), {7200, 8220, 1680, 375}});
    setCancelButton(close);

    connect(m_field, &QLineEdit::returnPressed, this, &CheckWindow::check);
    connect(checkButton, &QPushButton::clicked, this, &CheckWindow::check);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // A new number or a new game: marks and verdict follow; the hall goes
    // back to its board.
    connect(&caller, &Caller::marksChanged, this, [this] {
        m_hall.clear();
        showGame();
    });
    connect(&caller, &Caller::settingsChanged, this, &CheckWindow::showGame);
    connect(&caller, &Caller::checkSheetWanted, this, &CheckWindow::readyForClaim);
    // A window manager may focus the question as it shows: the keyboard
    // comes back here once, so that a number typed does not answer it; a
    // click on the question then keeps the keyboard there.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *w) {
        if (w && w->modality() != Qt::NonModal && m_claimAwaited && isVisible()
            && m_caller.view().claim.phase == ClaimPhase::Called) {
            m_claimAwaited = false;
            activateWindow();
        }
    });
    setTabOrder(m_field, checkButton);
    m_field->setFocus();
    showGame();
}

CheckWindow::~CheckWindow() { m_hall.clear(); }

void CheckWindow::closeEvent(QCloseEvent *event)
{
    m_hall.clear();
    FixedWindow::closeEvent(event);
}

QRect CheckWindow::cellRect(int block, int row, int column) const
{
    if (!m_ticket)
        return {};
    return static_cast<TicketView *>(m_view)->picture().cell(block, row, column);
}

void CheckWindow::check()
{
    const QString typed = m_field->text();
    const CheckNumberResult result = decodeCheckNumber(typed);
    if (result.error != CheckNumberError::None) {
        // The text stays for correcting; the ticket last checked stays too.
        int digits = 0;
        for (const QChar c : typed)
            digits += c.isDigit();
        m_error->setText(checkNumberErrorText(result.error, digits));
        m_field->setFocus();
        return;
    }
    m_error->clear();
    m_ticket = result.ticket;
    m_hall.show(*m_ticket);
    showGame();
}

void CheckWindow::showGame()
{
    const CallerView &v = m_caller.view();
    const int pool = poolSize(v.settings.pool);
    m_count->setText(QStringLiteral("In diesem Spiel gezogen: %1 von %2 Zahlen").arg(v.marked.count()).arg(pool));
    m_view->update();
    if (!m_ticket) {
        m_about->clear();
        m_pool->clear();
        m_verdict->clear();
        return;
    }
    const TicketLayout &l = m_ticket->layout;
    m_about->setText(QStringLiteral("Spielschein %1 der Druckserie %2 — %3, %4 zu %5 × %6")
                         .arg(m_ticket->index)
                         .arg(m_ticket->series)
                         .arg(QStringLiteral("%1 Zahlen").arg(l.pool))
                         .arg(numbersText(l.blocks, "Block", "Blöcke"))
                         .arg(l.rows)
                         .arg(l.columns));
    m_pool->setText(l.pool == pool ? QString()
                                   : QStringLiteral("Dieser Spielschein ist für %1 Zahlen, gespielt wird mit %2 Zahlen.")
                                         .arg(l.pool)
                                         .arg(pool));
    const TicketVerdict verdict = judgeTicket(*m_ticket, v.marked);
    QStringList lines;
    for (int b = 1; b <= verdict.blocks; ++b)
        lines << blockText(b, verdict.block[size_t(b)]);
    m_verdict->setPlainText(lines.join(QLatin1Char('\n')));
}

void CheckWindow::readyForClaim()
{
    // Only a window the organiser has opened comes up at a claim.
    if (!isVisible())
        return;
    m_claimAwaited = true;
    m_field->clear();
    m_error->clear();
    m_ticket.reset();
    m_hall.clear();
    showGame();
    show();
    raise();
    activateWindow();
    m_field->setFocus();
}

} // namespace kugelfon
