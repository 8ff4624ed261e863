#include "ui/print/printdialog.h"

#include "platform/appinfo.h"
#include "ui/kit/fonts.h"
#include "platform/messagebox.h"
#include "platform/printers.h"
#include "platform/rounding.h"
#include "tickets/ticketprinting.h"
#include "platform/timer.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace kugelfon {

namespace {

const QString kTitle = QStringLiteral("Spielscheinoptionen");
const QString kNoPrinter = QStringLiteral("Kein Drucker installiert");
const QString kNotAnswering = QStringLiteral("Drucker antwortet nicht");

// A count as the list rules read it; nothing when the text is no number or
// the bound would not fit a 16-bit integer (the bound then stays as it was).
std::optional<double> listNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int> nearest16(double v)
{
    if (!std::isfinite(v) || std::abs(v) > 1e9)
        return std::nullopt;
    const long long r = roundHalfEven(v);
    if (r < std::numeric_limits<std::int16_t>::min() || r > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<int>(r);
}

// The position the user picked, -1 once the text was typed over.
int selectedIndex(const QComboBox *c)
{
    const int i = c->currentIndex();
    return i >= 0 && c->itemText(i) == c->currentText() ? i : -1;
}

void fillRange(QComboBox *c, int from, int to)
{
    for (int k = from; k <= to; ++k)
        c->addItem(QString::number(k));
}

// A rebuilt list keeps the old position when it still exists.
void reselect(QComboBox *c, int remembered)
{
    if (c->count() == 0)
        return;
    c->setCurrentIndex(remembered >= 0 && remembered < c->count() ? remembered : 0);
}

QString quoted(const QString &s) { return QStringLiteral("\u201E") + s + QStringLiteral("\u201C"); }

// Checks one count text against its limits; the refusal, or the value.
std::optional<QString> checkCount(const QString &text, const QString &what, qint64 min, qint64 max,
                                  int &value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("Bitte geben Sie die Anzahl der %1 ein (eine ganze Zahl von %2 bis %3).")
            .arg(what)
            .arg(min)
            .arg(max);
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    if (!whole.match(t).hasMatch())
        return QStringLiteral("Die Anzahl der %1 muss eine ganze Zahl sein; eingegeben ist %2.")
            .arg(what, quoted(text));
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return QStringLiteral("Die Anzahl der %1 muss zwischen %2 und %3 liegen; eingegeben ist %4.")
            .arg(what)
            .arg(min)
            .arg(max)
            .arg(t);
    value = static_cast<int>(v);
    return std::nullopt;
}

// A run expected to take longer than this shows its progress.
constexpr qint64 kProgressAfterMs = 1000;

QString progressText(int n, int total)
{
    return QStringLiteral("Spielschein %1 von %2 wird gedruckt").arg(n).arg(total);
}

// frmFortschritt: the progress of a long print run. Its button, Esc and the
// close box all ask the run to stop after the ticket in hand, or at once
// while the print server keeps that ticket waiting.
class ProgressWindow final : public QDialog {
public:
    ProgressWindow(QWidget *parent, int total, std::function<void()> cancel)
        : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                              | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
          m_cancel(std::move(cancel))
    {
        setObjectName(QStringLiteral("frmFortschritt"));
        // Short: the window is only as wide as its progress line.
        setWindowTitle(QStringLiteral("Drucken"));
        setFont(parent->font());
        // Nothing else of the program takes input while it is shown.
        setWindowModality(Qt::ApplicationModal);
        m_label = new QLabel(this);
        m_label->setObjectName(QStringLiteral("lblFortschritt"));
        // Wide enough for the longest text, so the window does not grow.
        const int widest = m_label->fontMetrics().horizontalAdvance(progressText(total, total));
        m_label->setMinimumWidth(widest * 5 / 4);
        m_bar = new QProgressBar(this);
        m_bar->setObjectName(QStringLiteral("prgFortschritt"));
        m_bar->setRange(0, total);
        auto *stop = new QPushButton(QStringLiteral("Abbrechen"), this);
        stop->setObjectName(QStringLiteral("cmdAbbrechen"));
        connect(stop, &QPushButton::clicked, this, [this] { m_cancel(); });
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(stop);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_label);
        layout->addWidget(m_bar);
        layout->addLayout(buttons);
        setFixedSize(sizeHint());
    }

    void showTicket(int n, int total)
    {
        m_label->setText(progressText(n, total));
        m_bar->setValue(n - 1);
    }

    // Esc and the close box: the run decides when the window goes.
    void reject() override { m_cancel(); }

private:
    std::function<void()> m_cancel;
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
};

} // namespace

void FocusFirstButton::focusAndClick()
{
    if (!isEnabled() || !isVisible())
        return;
    setFocus(Qt::ShortcutFocusReason);
    click();
}

bool FocusFirstButton::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut && isEnabled())
        setFocus(Qt::ShortcutFocusReason);
    return QPushButton::event(e);
}

namespace {

const FontSpec kDialogFont{"MS Sans Serif", 7.5, false};
// Set on every control, so that none inherits the bold of its frame.
const FontSpec kFrameFont{"MS Sans Serif", 8.25, true};
constexpr int kText = Control::Wrap | Control::TopLeft;

// Frames before what lies in them; the lists after the frames, so they lie above them.
const Control kControls[] = {
    {Control::Label, "lblHinweisText",
     QStringLiteral("Hier können Sie sich Spielscheine zu diesem Programm ausdrucken lassen. Jeder "
                    "Spielschein wird für sich generiert und ausgedruckt. Sie können in diesem Fenster "
                    "bestimmen, wieviele Spielreihen, Spielspalten und Spielscheine Sie haben möchten. "
                    "Nachdem Sie sich entschieden haben, müssen Sie nur noch auf der Drucken-Button "
                    "drücken und schon werden die Spielscheine gedruckt."),
     {180, 120, 7155, 795}, kDialogFont, kText},
    {Control::Frame, "fraOptionswerte", QStringLiteral("Einstelloptionen: "), {180, 1080, 8655, 3915}, kFrameFont},
    {Control::Frame, "fraZahlenAnzahl", QStringLiteral("Optionen Zahlenmodus:"), {240, 300, 2895, 735},
     kFrameFont, 0, "fraOptionswerte"},
    {Control::Option, "opt75Zahlen", QStringLiteral("75 Zahlen"), {180, 300, 1275, 315}, kDialogFont, 0,
     "fraZahlenAnzahl"},
    {Control::Option, "opt90Zahlen", QStringLiteral("90 Zahlen"), {1620, 300, 1175, 315}, kDialogFont, 0,
     "fraZahlenAnzahl"},
    {Control::Frame, "fraSpielfeld", QStringLiteral("Optionen Spielfeld: "), {240, 1080, 2895, 2175},
     kFrameFont, 0, "fraOptionswerte"},
    {Control::Label, "lblSpielSpalten", QStringLiteral("Anzahl der Spielspalten: (min.5 bis max. 10)"),
     {120, 360, 1755, 375}, kDialogFont, kText, "fraSpielfeld"},
    {Control::Label, "lblSpielReihen", QStringLiteral("Anzahl der Spielreihen: (max. 25)"),
     {120, 900, 1755, 375}, kDialogFont, kText, "fraSpielfeld"},
    {Control::Label, "lblSpielBlöcke",
     QStringLiteral("Anzahl der Spielblöcke: (max. Anzahl von den   Spielreihen abhängig)"),
     {120, 1440, 1695, 615}, kDialogFont, kText, "fraSpielfeld"},
    {Control::Frame, "fraFreiZahl", QStringLiteral("Spezialoption Spielfeld: "), {3240, 300, 4695, 1155},
     kFrameFont, 0, "fraOptionswerte"},
    {Control::Option, "optNoFreizahl", QStringLiteral("keine freien Spielfelder beim Ausdruck erzeugen"),
     {120, 300, 3975, 315}, kDialogFont, 0, "fraFreiZahl"},
    {Control::Option, "optFreizahl", QStringLiteral("Spielfelder durch Zufall frei lassen beim Ausdruck"),
     {120, 720, 3975, 315}, kDialogFont, 0, "fraFreiZahl"},
    {Control::Frame, "fraDrucker", QStringLiteral("Druckeroptionen: "), {3240, 1560, 4695, 1695}, kFrameFont,
     0, "fraOptionswerte"},
    {Control::Label, "lblDrucker", QStringLiteral("ausgewählter Drucker:"), {180, 360, 1755, 315},
     kDialogFont, kText, "fraDrucker"},
    {Control::Label, "lblAnzahlSpielscheine", QStringLiteral("Anzahl der Spielscheine:"),
     {180, 1260, 1875, 255}, kDialogFont, kText, "fraDrucker"},
    {Control::Label, "lblOptionstext",
     QStringLiteral("Hinweis: Falls Sie sich nicht sicher sind, ob die von Ihnen eingestellten Werte "
                    "korrekt sind, empfehlen wir Ihnen einen Test-Druck durchzuführen."),
     {240, 3360, 7755, 390}, kDialogFont, kText, "fraOptionswerte"},
    {Control::Field, "cboSpalten", {}, {2220, 1380, 675, 315}, kDialogFont, 0, "fraOptionswerte"},
    {Control::Field, "cboReihen", {}, {2220, 1920, 675, 315}, kDialogFont, 0, "fraOptionswerte"},
    {Control::Field, "cboBlöcke", {}, {2220, 2460, 675, 315}, kDialogFont, 0, "fraOptionswerte"},
    {Control::Field, "cboScheine", {}, {5280, 2760, 735, 315}, kDialogFont, 0, "fraOptionswerte"},
    {Control::Field, "cboDrucker", {}, {3600, 3300, 4395, 315}, kDialogFont},
    // Added later: in the free room left of the buttons, last in the tab order.
    {Control::Check, "chkPruefnummer", QStringLiteral("Prüfnummer drucken"), {180, 5220, 3615, 315},
     kDialogFont},
};

const Control kPrintButton{Control::Button, "cmdDruck", QStringLiteral("&Drucken"), {3960, 5160, 2355, 435}};
const Control kCancelButton{Control::Button, "cmdAbbrechen", QStringLiteral("Ab&brechen"),
                            {6480, 5160, 2355, 435}};

} // namespace

PrintDialog::PrintDialog(const Services &services, std::function<void()> showMainWindow)
    : FixedWindow({"frmDrucken", 8985, 5715,
                   QString(10, QLatin1Char(' ')) + appinfo::makerNotice()}),
      m_services(services), m_showMainWindow(std::move(showMainWindow)),
      m_ticket(std::make_unique<TicketNumbers>())
{
    setFont(screenFont(QStringLiteral("MS Sans Serif"), 7.5, false));
    buildControls(this, kControls);
    findControls();
    auto button = [this](const Control &row) {
        auto *b = new FocusFirstButton(this);
        setUpControl(b, row);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::StrongFocus);
        return b;
    };
    m_printButton = button(kPrintButton);
    m_cancelButton = button(kCancelButton);
    QWidget *order[] = {m_pool75,     m_pool90,     m_cancelButton, m_printButton,
                        m_rowsBox,    m_columnsBox, m_blocksBox,    m_ticketsBox,
                        m_printerBox, m_noFreeCell, m_freeCell, m_checkNumberBox};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    setupConnections();
    showStartValues();
}

PrintDialog::~PrintDialog() = default;

void PrintDialog::findControls()
{
    m_optionsFrame = control<QGroupBox>(this, "fraOptionswerte");
    m_gridFrame = control<QGroupBox>(this, "fraSpielfeld");
    m_pool75 = control<QRadioButton>(this, "opt75Zahlen");
    m_pool90 = control<QRadioButton>(this, "opt90Zahlen");
    m_noFreeCell = control<QRadioButton>(this, "optNoFreizahl");
    m_freeCell = control<QRadioButton>(this, "optFreizahl");
    m_columnsBox = control<QComboBox>(this, "cboSpalten");
    m_rowsBox = control<QComboBox>(this, "cboReihen");
    m_blocksBox = control<QComboBox>(this, "cboBlöcke");
    m_ticketsBox = control<QComboBox>(this, "cboScheine");
    m_printerBox = control<QComboBox>(this, "cboDrucker");
    m_checkNumberBox = control<QCheckBox>(this, "chkPruefnummer");
    for (QComboBox *c : {m_columnsBox, m_rowsBox, m_blocksBox, m_ticketsBox, m_printerBox})
        c->installEventFilter(this);
}

void PrintDialog::setupConnections()
{
    connect(m_pool75, &QRadioButton::clicked, this, [this] { choosePool(75); });
    connect(m_pool90, &QRadioButton::clicked, this, [this] { choosePool(90); });
    connect(m_freeCell, &QRadioButton::clicked, this, [this] { m_freeCellChosen = true; });
    connect(m_noFreeCell, &QRadioButton::clicked, this, [this] { m_freeCellChosen = false; });
    connect(m_printButton, &QPushButton::clicked, this, &PrintDialog::onPrintClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &PrintDialog::onCancelClicked);
    onEscape([this] { m_cancelButton->focusAndClick(); });
}

// The printer shown is the one that prints; with none, "Drucken" cannot be pressed.
void PrintDialog::showPrinter(const QString &name)
{
    m_printerBox->setCurrentIndex(name.isEmpty() ? -1 : m_printerBox->findText(name, Qt::MatchExactly));
    m_shownPrinter = !name.isEmpty() ? name : m_services.printers->answered() ? kNoPrinter : kNotAnswering;
    m_printerBox->setEditText(m_shownPrinter);
    m_printButton->setEnabled(!name.isEmpty());
}

// The print server's last answer, and again each time a new one comes: the
// dialog never waits for the server.
void PrintDialog::showPrinters()
{
    IPrinters &printers = *m_services.printers;
    // A name typed, picked or set stays; the focus rules or "Drucken" check it.
    const QString typed = m_printerBox->currentText();
    const bool typing = typed != m_shownPrinter;
    m_printerBox->clear();
    m_printerBox->addItems(printers.names());
    if (typing) {
        m_printerBox->setEditText(typed);
        return;
    }
    if (m_printerPicked && printers.exists(printers.current()))
        return showPrinter(printers.current());
    // The default printer is the first entry that begins with its name, in any case.
    const QString def = printers.defaultName();
    int found = -1;
    for (int i = 0; i < m_printerBox->count() && found < 0 && !def.isEmpty(); ++i)
        if (m_printerBox->itemText(i).startsWith(def, Qt::CaseInsensitive))
            found = i;
    if (found >= 0)
        printers.setCurrent(m_printerBox->itemText(found));
    showPrinter(found >= 0 ? m_printerBox->itemText(found) : QString());
}

void PrintDialog::askPrinters()
{
    m_services.printers->refresh([dialog = QPointer(this)] {
        if (dialog)
            dialog->showPrinters();
    });
}

void PrintDialog::showStartValues()
{
    showPrinters();
    askPrinters();

    m_poolSize = 75;
    m_pool75->setChecked(true);
    m_noFreeCell->setChecked(true);
    m_checkNumberBox->setChecked(false);
    fillRange(m_columnsBox, 5, 10);
    fillRange(m_blocksBox, 1, 3);
    fillRange(m_rowsBox, 1, 15);
    fillRange(m_ticketsBox, 1, 100);
    for (QComboBox *c : {m_columnsBox, m_blocksBox, m_rowsBox, m_ticketsBox})
        c->setCurrentIndex(0);
    // The bounds of the lists just filled: an entry that is no number keeps
    // the neighbouring list as it is instead of emptying it.
    m_maxColumns = 10;
    m_maxRows = 15;
    m_pool75->setFocus(Qt::OtherFocusReason);
}

void PrintDialog::choosePool(int pool)
{
    m_poolSize = pool;
    fillRowsList();
    fillColumnsList();
}

// One list from its neighbour's count: first..min(bound, cap), where the
// bound is the pool divided by the neighbour less 0.3, rounded; a neighbour
// that is no number keeps the last bound.
void PrintDialog::buildList(QComboBox *list, const QComboBox *neighbour, int first, int cap,
                            int &bound)
{
    const int remembered = selectedIndex(list);
    if (const auto count = listNumber(neighbour->currentText()))
        if (const auto b = nearest16(m_poolSize / *count - 0.3))
            bound = *b;
    list->clear();
    fillRange(list, first, std::min(bound, cap));
    reselect(list, remembered);
}

void PrintDialog::fillColumnsList()
{
    buildList(m_columnsBox, m_rowsBox, 5, 10, m_maxColumns);
    if (m_blocksBox->count() > 0)
        m_blocksBox->setCurrentIndex(0);
    repaintOptions();
}

void PrintDialog::fillRowsList()
{
    buildList(m_rowsBox, m_columnsBox, 1, 16, m_maxRows);
    repaintOptions();
}

void PrintDialog::fillBlocksList()
{
    // Rows that allow no block (zero, negative, not a number, 23 or more)
    // leave the list and the text empty; "Drucken" then asks for a count.
    int n = 0;
    if (const auto rows = listNumber(m_rowsBox->currentText()))
        if (const auto bound = nearest16(15 / *rows * 0.75))
            n = *bound;
    m_blocksBox->clear();
    fillRange(m_blocksBox, 1, std::min(n, kMaxBlocks));
    if (m_blocksBox->count() > 0)
        m_blocksBox->setCurrentIndex(0);
    repaintOptions();
}

void PrintDialog::repaintOptions()
{
    m_gridFrame->update();
    update();
    m_optionsFrame->update();
}

void PrintDialog::onPrinterEdited()
{
    IPrinters &printers = *m_services.printers;
    const QString text = m_printerBox->currentText();
    if (text != printers.current()) {
        // A typed name counts when it names a listed printer.
        int pos = selectedIndex(m_printerBox);
        if (pos < 0)
            pos = m_printerBox->findText(text.trimmed(), Qt::MatchFixedString);
        if (pos >= 0 && printers.exists(m_printerBox->itemText(pos))) {
            printers.setCurrent(m_printerBox->itemText(pos));
            m_printerPicked = true;
        }
        // Otherwise the combo goes back to the printer that prints.
        const QString current = printers.current();
        showPrinter(printers.exists(current) ? current : QString());
    }
    repaintOptions();
}

std::optional<QString> PrintDialog::countRefusal(PrintSettings &s) const
{
    const struct {
        const QComboBox *combo;
        const char *what;
        int max;
        int &value;
    } counts[] = {{m_columnsBox, "Spielspalten", kMaxColumns, s.columns},
                  {m_rowsBox, "Spielreihen", kMaxRows, s.rows},
                  {m_blocksBox, "Spielblöcke", kMaxBlocks, s.blocks},
                  {m_ticketsBox, "Spielscheine", kMaxTickets, s.tickets}};
    // A text the user typed wrongly is named before a list the rules left
    // empty because of it.
    std::optional<QString> empty;
    for (const auto &c : counts) {
        const QString text = c.combo->currentText();
        if (auto m = checkCount(text, QString::fromUtf8(c.what), 1, c.max, c.value)) {
            if (!text.trimmed().isEmpty())
                return m;
            if (!empty)
                empty = m;
        }
    }
    if (empty)
        return empty;
    s.pool = m_poolSize;
    s.freeCells = m_freeCellChosen;
    s.checkNumbers = m_checkNumberBox->isChecked();
    if (s.rows * s.columns > s.pool)
        return QStringLiteral("Ein Spielblock mit %1 Spielreihen und %2 Spielspalten braucht %3 "
                              "verschiedene Zahlen, der Zahlenmodus hat nur %4.\rSpielreihen mal "
                              "Spielspalten darf höchstens %4 sein.")
            .arg(s.rows)
            .arg(s.columns)
            .arg(s.rows * s.columns)
            .arg(s.pool);
    return std::nullopt;
}

std::optional<QString> PrintDialog::printerRefusal(PrintSettings &s) const
{
    const IPrinters &printers = *m_services.printers;
    s.printer = printers.current();
    if (!printers.exists(s.printer))
        return QStringLiteral("Der Drucker %1 ist nicht vorhanden. Bitte wählen Sie einen Drucker "
                              "aus der Liste.")
            .arg(quoted(s.printer.isEmpty() ? m_printerBox->currentText() : s.printer));

    // A grid that runs off the page would lose cells; a ticket with missing
    // numbers cannot be played, so such a run is refused.
    const QSizeF area = printers.printableAreaMm(s.printer);
    // A printer in the list whose page the print server would not describe.
    if (area.isEmpty())
        return QStringLiteral("Der Drucker %1 antwortet nicht. Bitte versuchen Sie es später noch einmal.")
            .arg(quoted(s.printer));
    const int right = ticketGridRightMm(s.columns);
    const int bottom = ticketGridBottomMm(s.rows, s.blocks);
    if (right > area.width() + 1e-6)
        return QStringLiteral("Der Spielschein passt nicht auf die Seite des Druckers %1: die "
                              "Spielfelder reichen bis %2 mm nach rechts, bedruckbar sind %3 mm.\r"
                              "Bitte wählen Sie weniger Spielspalten.")
            .arg(quoted(s.printer))
            .arg(right)
            .arg(QString::number(area.width(), 'f', 1));
    if (bottom > area.height() + 1e-6)
        return QStringLiteral("Der Spielschein passt nicht auf die Seite des Druckers %1: die "
                              "Spielfelder reichen bis %2 mm nach unten, bedruckbar sind %3 mm.\r"
                              "Bitte wählen Sie weniger Spielreihen oder Spielblöcke.")
            .arg(quoted(s.printer))
            .arg(bottom)
            .arg(QString::number(area.height(), 'f', 1));
    return std::nullopt;
}

std::optional<QString> PrintDialog::refusal(PrintSettings &settings) const
{
    if (auto why = countRefusal(settings))
        return why;
    return printerRefusal(settings);
}

QString PrintDialog::summaryText() const
{
    const QString indent(8, QLatin1Char(' '));
    QStringList lines = {
        QStringLiteral("Diese Spielscheinwerte wurden von Ihnen eingestellt:"),
        QString(),
        indent + QStringLiteral("Zahlenmodus: ") + QLatin1Char(' ') + QString::number(m_poolSize)
            + QStringLiteral(" Zahlen "),
        QString(),
        indent + QStringLiteral("Zahlenspalten: ") + m_columnsBox->currentText(),
        indent + QStringLiteral("Zahlenreihen: ") + m_rowsBox->currentText(),
        indent + QStringLiteral("Zahlenblöcke: ") + m_blocksBox->currentText(),
        indent + QStringLiteral("Spielscheine: ") + m_ticketsBox->currentText()
            + QStringLiteral(" Schein(e)"),
        QString(),
        QStringLiteral("Drucker: ") + m_printerBox->currentText(),
        QString(),
        QStringLiteral("Wollen Sie mit diesen Werten Drucken?"),
    };
    if (m_checkNumberBox->isChecked())
        lines.insert(8, indent + QStringLiteral("Prüfnummer: wird auf jeden Spielschein gedruckt"));
    QString text;
    for (const QString &l : lines)
        text += l + QLatin1Char('\r');
    return text;
}

void PrintDialog::refuse(const QString &text)
{
    m_services.messages->show(this, text, MsgButtons::Ok, kTitle);
}

void PrintDialog::onPrintClicked()
{
    if (m_printing)
        return;
    // The answer is for the next click; this one goes on with the last.
    askPrinters();
    // A printer name set without a focus change (assistive tools) switches
    // the printer too: the summary names the printer that prints.
    onPrinterEdited();
    PrintSettings settings;
    if (const auto why = refusal(settings)) {
        refuse(*why);
        return;
    }
    const int answer = m_services.messages->show(this, summaryText(), MsgButtons::YesNo, kTitle);
    if (answer != kAnswerYes) {
        fillRowsList();
        fillColumnsList();
        return;
    }
    // Values may not change while the box waited, but check again: the run
    // must never start outside the limits.
    PrintSettings now;
    if (const auto why = refusal(now)) {
        refuse(*why);
        return;
    }
    const PrintRunResult run = printWithProgress(now);
    m_lastRunPrinted = run.handedOver;
    // A printer gone meanwhile leaves the list.
    askPrinters();
    reportRun(run, now);
}

void PrintDialog::reportRun(const PrintRunResult &run, const PrintSettings &s)
{
    // What the program knows is what the print server took, not what came
    // out of the printer: the report says no more than that.
    const QString handedOver = QStringLiteral("An den Drucker übergeben wurden %1 von %2 Spielscheinen")
                                   .arg(run.handedOver)
                                   .arg(s.tickets);
    if (run.cancelled)
        refuse(handedOver + QLatin1Char('.'));
    else if (run.printerGone)
        refuse(QStringLiteral("Der Druck wurde abgebrochen: Der Drucker %1 ist nicht mehr vorhanden.\r%2.\r"
                              "Spielscheine, die an einen nicht mehr vorhandenen Drucker gesendet wurden "
                              "und noch nicht gedruckt waren, sind verloren.")
                   .arg(quoted(s.printer), handedOver));
    else if (!run.completed)
        refuse(QStringLiteral("Der Druck wurde abgebrochen: Der Drucker %1 hat den Spielschein %2 "
                              "nicht angenommen.\r%3.")
                   .arg(quoted(s.printer))
                   .arg(run.handedOver + 1)
                   .arg(handedOver));
}

PrintRunResult PrintDialog::printWithProgress(const PrintSettings &s)
{
    m_printing = true;
    m_cancelRequested = false;
    // Timer ticks (automatic calling) wait until the run is over and then
    // come once.
    const ITimerFactory::Hold hold(*m_services.timers);
    std::unique_ptr<ProgressWindow> window;
    QElapsedTimer clock;
    clock.start();
    const auto goOn = [&](int n, int total) {
        // Shown once the run promises to take about a second or more, so a
        // short run does not flash a window, or once a printer that keeps
        // it waiting has taken a second.
        const qint64 elapsed = clock.elapsed();
        if (!window
            && (elapsed >= kProgressAfterMs || (n > 1 && elapsed * total >= kProgressAfterMs * (n - 1)))) {
            window = std::make_unique<ProgressWindow>(this, total,
                                                      [this] { m_cancelRequested = true; });
            window->show();
        }
        if (window)
            window->showTicket(n, total);
        // Input waits until the window shows; from then on only the window
        // takes it.
        QCoreApplication::processEvents(window ? QEventLoop::AllEvents
                                               : QEventLoop::ExcludeUserInputEvents);
        return !m_cancelRequested;
    };
    const PrintRunResult run =
        printTickets(s, *m_services.printers, *m_services.random, *m_ticket, goOn);
    window.reset();
    m_printing = false;
    return run;
}

void PrintDialog::showMainOnce()
{
    if (m_mainShown)
        return;
    m_mainShown = true;
    if (m_showMainWindow)
        m_showMainWindow();
}

void PrintDialog::onCancelClicked()
{
    // Reached during a run only by assistive tools: it stops the run.
    if (m_printing) {
        m_cancelRequested = true;
        return;
    }
    showMainOnce();
    close();
}

void PrintDialog::closeEvent(QCloseEvent *event)
{
    if (m_printing) {
        // The run still paints on this dialog's behalf: stop it, stay open.
        event->ignore();
        m_cancelRequested = true;
        return;
    }
    event->accept();
    showMainOnce();
}

bool PrintDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // The drop-down list and other windows take the focus for a while
        // without the user leaving the combo.
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return QWidget::eventFilter(watched, event);
        if (event->type() == QEvent::FocusOut) {
            if (watched == m_rowsBox)
                fillColumnsList();
            else if (watched == m_columnsBox)
                fillRowsList();
            else if (watched == m_blocksBox)
                repaintOptions();
            else if (watched == m_printerBox)
                onPrinterEdited();
        } else if (watched == m_blocksBox) {
            fillBlocksList();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kugelfon
