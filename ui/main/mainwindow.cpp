#include "ui/main/mainwindow.h"

#include "ui/help/helpwindow.h"
#include "platform/appinfo.h"
#include "platform/rounding.h"
#include "ui/kit/captionfit.h"
#include "ui/kit/fonts.h"
#include "ui/kit/twips.h"
#include "ui/print/printdialog.h"
#include "ui/about/aboutwindow.h"
#include "ui/interval/intervaldialog.h"
#include "ui/sheet/checksheet.h"
#include "ui/check/checkwindow.h"
#include "platform/application.h"
#include "platform/messagebox.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace kugelfon {

namespace {

QString stepCaption(Stepping stepping)
{
    switch (stepping) {
    case Stepping::Manual: return QStringLiteral("Weiter");
    case Stepping::Ready: return QStringLiteral("Start");
    case Stepping::Running:
    case Stepping::Halted: return QStringLiteral("Stop");
    case Stepping::Paused: return QStringLiteral("Pause");
    }
    return {};
}

QString steppingText(const Settings &settings)
{
    switch (settings.stepping) {
    case SteppingChoice::Manual: return QStringLiteral("Manuell");
    case SteppingChoice::Seconds5: return QStringLiteral("5 Sekunden");
    case SteppingChoice::Seconds10: return QStringLiteral("10 Sekunden");
    case SteppingChoice::Seconds20: return QStringLiteral("20 Sekunden");
    case SteppingChoice::Custom:
        return QString::number(settings.customSeconds)
            + (settings.customSeconds > 1 ? QStringLiteral(" Sekunden") : QStringLiteral(" Sekunde"));
    }
    return {};
}

// Where a window of `size` (frame included) opens beside `owner`: right of
// it, else left of it, top edges level, inside `area`; where neither side
// has room (a maximized owner), over the middle of it.
QPoint besideWindow(const QRect &owner, const QSize &size, const QRect &area)
{
    QPoint at(owner.right() + 1, owner.top());
    if (at.x() + size.width() - 1 > area.right())
        at.setX(owner.left() - size.width());
    if (at.x() < area.left())
        at = owner.center() - QPoint(size.width() / 2, size.height() / 2);
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    return at;
}

// Brings an open secondary window to the front; false when there is none.
bool raiseOpen(QWidget *w)
{
    if (!w)
        return false;
    w->show();
    w->raise();
    w->activateWindow();
    return true;
}

} // namespace

MainWindow::MainWindow(Caller &caller, CheckSheet &sheet, const Services &services,
                       QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                              | Qt::CustomizeWindowHint),
      m_caller(caller),
      m_sheet(sheet),
      m_services(services)
{
    setObjectName(QStringLiteral("frmHauptseite"));
    setupControls();
    setupMenus();
    setupConnections();
}

MainWindow::~MainWindow()
{
    for (QWidget *w : {static_cast<QWidget *>(m_intervalDialog.data()), m_printDialog.data(),
                       m_helpWindow.data(), m_aboutWindow.data(), m_checkWindow.data()})
        delete w;
}

void MainWindow::setupControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);

    static const char *const captions[10] = {"Zahlenmodus:", "", "Schaltmodus:", "",
                                             "gezeigte Zahlen:", "", "von", "",
                                             "Stimme:", ""};
    for (int i = 0; i < 10; ++i) {
        auto *label = new QLabel(QString::fromUtf8(captions[i]), central);
        label->setObjectName(QString::fromLatin1(mainControlName(static_cast<MainControl>(i))));
        const bool value = (i % 2) == 1;
        label->setFont(screenFont(QStringLiteral("Times New Roman"), 14.25, true, value));
        m_statusRow[i] = label;
    }
    m_poolText = m_statusRow[1];
    m_steppingText = m_statusRow[3];
    m_countText = m_statusRow[5];
    m_poolSizeText = m_statusRow[7];
    m_voiceText = m_statusRow[9];

    m_numberFrame = new QFrame(central);
    m_numberFrame->setObjectName(QStringLiteral("frmZahl"));
    m_numberFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);

    m_numberDisplay = new QLabel(m_numberFrame);
    m_numberDisplay->setObjectName(QStringLiteral("lblZahlenfeld"));
    m_numberDisplay->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_numberDisplay->setFont(screenFont(QStringLiteral("Times New Roman"), 399.75));
    m_numberDisplay->setAutoFillBackground(true);
    QPalette pal = m_numberDisplay->palette();
    // Light grey behind the number, the colour of an inactive window's border.
    pal.setColor(QPalette::Window, QColor(212, 208, 200));
    pal.setColor(QPalette::WindowText, Qt::black);
    m_numberDisplay->setPalette(pal);

    auto makeButton = [central](const char *name, const QString &text) {
        auto *b = new QPushButton(text, central);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(screenFont(QStringLiteral("MS Sans Serif"), 12, true));
        return b;
    };
    m_bingoButton = makeButton("cmdBingo", QStringLiteral("Bingo!"));
    m_stepButton = makeButton("cmdWeiter", stepCaption(Stepping::Manual));
    m_sheetButton = makeButton("cmdZahlenTafel", QStringLiteral("Zahlentafel anzeigen"));

    // Design geometry; startUp() scales it to the screen.
    for (int i = 0; i < kMainControlCount; ++i) {
        const auto c = static_cast<MainControl>(i);
        const TwipRect r = designRect(c);
        if (auto *w = central->findChild<QWidget *>(QString::fromLatin1(mainControlName(c))))
            w->setGeometry(twipsRect(r.left, r.top, r.width, r.height));
    }
}

void MainWindow::setupMenus()
{
    auto action = [](QMenu *menu, const char *name, const QString &text, bool checkable) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QString::fromUtf8(name));
        a->setCheckable(checkable);
        return a;
    };
    auto separator = [](QMenu *menu, const char *name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_newGame = action(file, "mnuNew", QStringLiteral("&Neues Spiel"), false);
    m_newGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    separator(file, "mnuTrennungStufe1");
    m_printTickets = action(file, "mnuDrucken", QStringLiteral("&Spielschein drucken"), false);
    m_printTickets->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_checkTicket = action(file, "mnuPrüfen", QStringLiteral("Spielschein &prüfen"), false);
    m_checkTicket->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    separator(file, "mnuTrennungStufe2");
    m_quit = action(file, "mnuCloseAll", QStringLiteral("&Beenden"), false);

    QMenu *settings = menuBar()->addMenu(QStringLiteral("&Einstellungen"));
    settings->setObjectName(QStringLiteral("mnuEinstellungen"));
    QMenu *voice = settings->addMenu(QStringLiteral("Stimme&nauswahl"));
    voice->setObjectName(QStringLiteral("mnuStimme"));
    m_female = action(voice, "mnuWeiblich", QStringLiteral("&Weiblich"), true);
    m_male = action(voice, "mnuMännlich", QStringLiteral("M&ännlich"), true);
    separator(settings, "mnuTrennungStufe3");
    m_manual = action(settings, "mnuManuell", QStringLiteral("&Manuell schalten"), true);
    QMenu *automatic = settings->addMenu(QStringLiteral("&Automatisch"));
    automatic->setObjectName(QStringLiteral("mnuAuto"));
    m_seconds5 = action(automatic, "mnu5Sec", QStringLiteral("5 Se&kunden"), true);
    m_seconds10 = action(automatic, "mnu10Sec", QStringLiteral("10 Sek&unden"), true);
    m_seconds20 = action(automatic, "mnu20Sec", QStringLiteral("20 Sekun&den"), true);
    m_customSeconds = action(automatic, "mnuManuellSec", QStringLiteral("&Manuell einstellen"), true);
    separator(settings, "mnuTrennungStufe4");
    m_pool75 = action(settings, "mnu75Zahlen", QStringLiteral("&75.Zahlengenerator"), true);
    m_pool90 = action(settings, "mnu90Zahlen", QStringLiteral("&90.Zahlengenerator"), true);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&?"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m_help = action(help, "mnuHelpIt", QStringLiteral("&Hilfe"), false);
    separator(help, "mnuTrennungStufe5");
    m_about = action(help, "mnuOverMe", QStringLiteral("&Über ..."), false);

    // The window's design marks, before startUp() shows the start state.
    m_female->setChecked(true);
}

// Mouse and keys wait while a call plays; a screen reader's press does not,
// as the window answers its questions meanwhile. It waits here instead.
void MainWindow::whenIdle(const std::function<void()> &choice)
{
    if (!m_caller.isCalling())
        return choice();
    QTimer::singleShot(20, this, [this, choice] { whenIdle(choice); });
}

void MainWindow::setupConnections()
{
    Caller &c = m_caller;
    connect(m_stepButton, &QPushButton::clicked, this, [this, &c] { whenIdle([&c] { c.pressStep(); }); });
    connect(m_bingoButton, &QPushButton::clicked, this, [this, &c] { whenIdle([&c] { c.claimBingo(); }); });
    connect(m_sheetButton, &QPushButton::clicked, &m_sheet, &CheckSheet::bringUp);

    // Check marks are written from the state alone: undo Qt's own toggle.
    auto menu = [this](QAction *a, std::function<void()> handler) {
        connect(a, &QAction::triggered, this, [this, a, handler](bool checked) {
            if (a->isCheckable())
                a->setChecked(!checked);
            whenIdle(handler);
        });
    };
    menu(m_newGame, [&c] { c.newGame(); });
    menu(m_printTickets, [this] { openPrintDialog(); });
    menu(m_checkTicket, [this] { openCheckWindow(); });
    menu(m_quit, [&c] { c.confirmQuit(); });
    menu(m_female, [&c] { c.chooseVoice(Voice::Female); });
    menu(m_male, [&c] { c.chooseVoice(Voice::Male); });
    menu(m_manual, [&c] { c.chooseManualStepping(); });
    menu(m_seconds5, [&c] { c.chooseFixedInterval(5); });
    menu(m_seconds10, [&c] { c.chooseFixedInterval(10); });
    menu(m_seconds20, [&c] { c.chooseFixedInterval(20); });
    menu(m_customSeconds, [this] { openIntervalDialog(); });
    menu(m_pool75, [&c] { c.choosePool(Pool::Of75); });
    menu(m_pool90, [&c] { c.choosePool(Pool::Of90); });
    menu(m_help, [this] { openHelp(); });
    menu(m_about, [this] { openAbout(); });

    connect(&m_caller, &Caller::numberChanged, this, &MainWindow::showNumber);
    connect(&m_caller, &Caller::claimChanged, this, &MainWindow::showNumber);
    connect(&m_caller, &Caller::steppingChanged, this, &MainWindow::showStepping);
    connect(&m_caller, &Caller::settingsChanged, this, &MainWindow::showSettings);
    connect(&m_sheet, &CheckSheet::backToGame, this, &MainWindow::bringToFront);
    // At a claim an open check window stands beside the sheet (it comes up by itself).
    connect(&m_caller, &Caller::checkSheetWanted, this, [this] {
        if (m_checkWindow && m_checkWindow->isVisible() && m_sheet.isVisible())
            placeCheckWindow(m_sheet.frameGeometry());
    });
}

void MainWindow::bringToFront()
{
    // Back as it was before it was minimised: maximized, or the window of --fenster.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

// ----------------------------------------------------------------- start-up

bool MainWindow::startUp()
{
    const ScreenMeasure measure = m_services.screen->measure();
    m_layout = computeScreenLayout(measure);
    if (m_layout.level == 0) {
        // The box stands over the middle of its owner: the screen's, though
        // this window is never shown.
        setGeometry(measure.available);
        m_services.messages->show(this, unsupportedScreenText(m_layout.screen), MsgButtons::Ok);
        m_services.app->quit();
        return false;
    }
    applyLayout();
    setWindowTitle(appinfo::productWithVersion() + QStringLiteral("          ")
                   + appinfo::makerNotice());
    m_loaded = true;
    showNumber();
    showStepping();
    showSettings();
    return true;
}

void MainWindow::applyLayout()
{
    for (QLabel *label : m_statusRow) {
        QFont f = label->font();
        setScreenPointSize(f, m_layout.fontSize * m_scale);
        label->setFont(f);
    }
    for (QPushButton *b : {m_bingoButton, m_stepButton, m_sheetButton}) {
        QFont f = b->font();
        setScreenPointSize(f, m_layout.fontSize * m_scale);
        b->setFont(f);
    }
    const double s = m_scale;
    for (int i = 0; i < kMainControlCount; ++i) {
        const auto c = static_cast<MainControl>(i);
        const TwipRect r = m_layout.rect(c);
        if (auto *w = centralWidget()->findChild<QWidget *>(QString::fromLatin1(mainControlName(c))))
            w->setGeometry(twipsRect(r.left * s, r.top * s, r.width * s, r.height * s));
    }
    fitCaptions();
}

// The fonts at hand (Liberation for the Windows faces on Linux) and the
// style's frames differ from the design's: every text a control can show
// must still stand whole in it.
void MainWindow::fitCaptions()
{
    QList<Captions<QLabel>> row;
    for (QLabel *label : m_statusRow)
        row.append({label, {label->text()}});
    row[1].texts = {QStringLiteral("75 Zahlen"), QStringLiteral("90 Zahlen")};
    Settings settings;
    for (const auto choice : {SteppingChoice::Manual, SteppingChoice::Seconds5,
                              SteppingChoice::Seconds10, SteppingChoice::Seconds20}) {
        settings.stepping = choice;
        row[3].texts << steppingText(settings);
    }
    settings.stepping = SteppingChoice::Custom;
    for (settings.customSeconds = 1; settings.customSeconds <= 60; ++settings.customSeconds)
        row[3].texts << steppingText(settings);
    for (int count = 1; count <= 90; ++count)
        row[5].texts << QString::number(count);
    row[7].texts = {QStringLiteral("75"), QStringLiteral("90")};
    row[9].texts = {QStringLiteral("Weiblich"), QStringLiteral("Männlich")};
    fitLabelRow(row);

    QStringList steps;
    for (const auto stepping : {Stepping::Manual, Stepping::Ready, Stepping::Running, Stepping::Paused})
        steps << stepCaption(stepping);
    fitButtons({{m_bingoButton, {m_bingoButton->text()}},
                {m_stepButton, steps},
                {m_sheetButton, {m_sheetButton->text()}}});
}

// ------------------------------------------------------------------- state

void MainWindow::showStepping()
{
    if (!m_loaded)
        return;
    const CallerView &v = m_caller.view();
    m_stepButton->setText(stepCaption(v.stepping));
    m_stepButton->setToolTip(stepCaption(v.poolRanOut ? Stepping::Ready : Stepping::Manual));
    for (QPushButton *b : {m_stepButton, m_bingoButton, m_sheetButton})
        b->setEnabled(v.gameButtonsEnabled);
    m_pool75->setEnabled(v.poolChoiceEnabled);
    m_pool90->setEnabled(v.poolChoiceEnabled);
}

void MainWindow::showSettings()
{
    if (!m_loaded)
        return;
    const Settings &s = m_caller.view().settings;
    const bool ninety = s.pool == Pool::Of90;
    m_poolText->setText(ninety ? QStringLiteral("90 Zahlen") : QStringLiteral("75 Zahlen"));
    m_poolSizeText->setText(ninety ? QStringLiteral("90") : QStringLiteral("75"));
    const bool male = s.voice == Voice::Male;
    m_voiceText->setText(male ? QStringLiteral("Männlich") : QStringLiteral("Weiblich"));
    m_steppingText->setText(steppingText(s));
    m_pool75->setChecked(s.pool == Pool::Of75);
    m_pool90->setChecked(s.pool == Pool::Of90);
    m_female->setChecked(s.voice != Voice::Male);
    m_male->setChecked(s.voice == Voice::Male);
    m_manual->setChecked(s.stepping == SteppingChoice::Manual);
    m_seconds5->setChecked(s.stepping == SteppingChoice::Seconds5);
    m_seconds10->setChecked(s.stepping == SteppingChoice::Seconds10);
    m_seconds20->setChecked(s.stepping == SteppingChoice::Seconds20);
    m_customSeconds->setChecked(s.stepping == SteppingChoice::Custom);
}

// The number display's type: half the screen's height for a number, less for
// the letters of a claim; the design's own until the first game.
double MainWindow::displayPoints(Lettering lettering) const
{
    const int height = m_layout.screen.heightPx;
    switch (lettering) {
    case Lettering::Design: return 0;
    case Lettering::Number: return static_cast<double>(roundHalfEven(height / 2.0));
    case Lettering::Claim: return height / 3.5;
    }
    return 0;
}

void MainWindow::showNumber()
{
    if (!m_loaded)
        return;
    const CallerView &v = m_caller.view();
    const QString count = v.shownCount == 0 ? QString() : QString::number(v.shownCount);
    const bool newNumber = m_numberDisplay->text() != v.display || m_countText->text() != count;
    m_numberDisplay->setText(v.display);
    const double points = displayPoints(v.lettering);
    if (points > 0 && points != m_displayPoints) {
        m_displayPoints = points;
        QFont f = m_numberDisplay->font();
        setScreenPointSize(f, points * m_scale);
        m_numberDisplay->setFont(f);
    }
    m_countText->setText(count);
    // The recording of a number plays before the event loop runs again:
    // paint it now, so it stands there while it is called.
    if (newNumber && isVisible()) {
        m_numberDisplay->repaint();
        m_countText->repaint();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_caller.confirmQuit())
        event->accept();
    else
        event->ignore();
}

// ------------------------------------------------------- secondary windows

void MainWindow::openIntervalDialog()
{
    if (raiseOpen(m_intervalDialog))
        return;
    m_intervalDialog = new IntervalDialog;
    connect(m_intervalDialog, &IntervalDialog::intervalChanged, &m_caller, &Caller::setInterval);
    connect(m_intervalDialog, &IntervalDialog::sliderDropped, &m_caller,
            &Caller::dropSliderInterval);
    connect(m_intervalDialog, &IntervalDialog::intervalTaken, &m_caller,
            &Caller::takeCustomInterval);
    connect(m_intervalDialog, &IntervalDialog::closed, this, &MainWindow::bringToFront);
    // Not where the window manager puts a window it knows nothing of (0, 0).
    const QSize framed = m_intervalDialog->size().grownBy(kWindowFrameAllowance);
    const QPoint at = besideWindow(frameGeometry(), framed, screen()->availableGeometry());
    m_intervalDialog->move(at); // move() places the frame's corner
    raiseOpen(m_intervalDialog);
}

void MainWindow::openPrintDialog()
{
    // A running game goes on while the tickets are printed.
    hide();
    if (raiseOpen(m_printDialog))
        return;
    m_printDialog = new PrintDialog(m_services, [this] { bringToFront(); });
    raiseOpen(m_printDialog);
}

void MainWindow::openCheckWindow()
{
    if (raiseOpen(m_checkWindow))
        return;
    m_checkWindow = new CheckWindow(m_caller, m_shownTicket);
    placeCheckWindow(frameGeometry());
    raiseOpen(m_checkWindow);
}

void MainWindow::placeCheckWindow(const QRect &beside)
{
    const QSize framed = m_checkWindow->size().grownBy(kWindowFrameAllowance);
    m_checkWindow->move(besideWindow(beside, framed, screen()->availableGeometry()));
}

void MainWindow::openHelp()
{
    if (raiseOpen(m_helpWindow))
        return;
    m_helpWindow = new HelpWindow(m_services, [this] { bringToFront(); });
    raiseOpen(m_helpWindow);
}

void MainWindow::openAbout()
{
    if (raiseOpen(m_aboutWindow))
        return;
    m_aboutWindow = new AboutWindow(m_services, this);
    raiseOpen(m_aboutWindow);
}

} // namespace kugelfon
