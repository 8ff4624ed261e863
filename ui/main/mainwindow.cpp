#include "ui/main/mainwindow.h"

#include "app/aboutwindow.h"
#include "game/numberdraw.h"
#include "help/helpwindow.h"
#include "tickets/printdialog.h"
#include "game/rules.h"
#include "game/sharedstore.h"
#include "platform/appinfo.h"
#include "ui/interval/intervaldialog.h"
#include "ui/sheet/checksheet.h"
#include "ui/twips.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace kugelfon {

namespace {
const QString kWeiter = QStringLiteral("Weiter");
const QString kStart = QStringLiteral("Start");
const QString kStop = QStringLiteral("Stop");
const QString kPause = QStringLiteral("Pause");
} // namespace

MainWindow::MainWindow(const Services &services, std::unique_ptr<CheckSheet> sheet, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                              | Qt::CustomizeWindowHint),
      m_services(services),
      m_sheet(std::move(sheet))
{
    setObjectName(QStringLiteral("frmHauptseite"));
    m_autoTimer = m_services.timers->create(QStringLiteral("AutoTimer"));
    m_zeitUni = m_services.timers->create(QStringLiteral("ZeitUni"));
    m_autoTimer->setEnabled(false);
    m_zeitUni->setInterval(0);
    setupControls();
    setupMenus();
    setupConnections();
    if (m_sheet)
        m_sheet->setShowMainWindow([this] { bringToFront(); });
}

MainWindow::~MainWindow()
{
    for (QWidget *w : {static_cast<QWidget *>(m_intervalDialog.data()), m_printDialog.data(),
                       m_helpWindow.data(), m_aboutWindow.data()})
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
        label->setFont(namedFont(QStringLiteral("Times New Roman"), 14.25, true, value));
        m_status[i] = label;
    }
    lblModusZahl = m_status[1];
    lblModusSchalten = m_status[3];
    lblAnzahlZahlen = m_status[5];
    lblletzteModusZahl = m_status[7];
    lblStimmenModus = m_status[9];

    frmZahl = new QFrame(central);
    frmZahl->setObjectName(QStringLiteral("frmZahl"));
    frmZahl->setFrameStyle(QFrame::Box | QFrame::Sunken);

    lblZahlenfeld = new QLabel(frmZahl);
    lblZahlenfeld->setObjectName(QStringLiteral("lblZahlenfeld"));
    lblZahlenfeld->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblZahlenfeld->setFont(namedFont(QStringLiteral("Times New Roman"), 399.75));
    lblZahlenfeld->setAutoFillBackground(true);
    {
        // The design's "inactive window border" colour.
        QPalette pal = lblZahlenfeld->palette();
        pal.setColor(QPalette::Window, QColor(212, 208, 200));
        pal.setColor(QPalette::WindowText, Qt::black);
        lblZahlenfeld->setPalette(pal);
    }

    auto makeButton = [central](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(name);
        b->setFont(namedFont(QStringLiteral("MS Sans Serif"), 12, true));
        return b;
    };
    cmdBingo = makeButton(QStringLiteral("cmdBingo"), QStringLiteral("Bingo!"));
    cmdWeiter = makeButton(QStringLiteral("cmdWeiter"), kWeiter);
    cmdZahlenTafel = makeButton(QStringLiteral("cmdZahlenTafel"),
                                QStringLiteral("Zahlentafel anzeigen"));

    // Design geometry; the load step scales it to the screen.
    for (int i = 0; i < kMainControlCount; ++i) {
        const TwipRect r = designRect(static_cast<MainControl>(i));
        QWidget *w = central->findChild<QWidget *>(
            QString::fromLatin1(mainControlName(static_cast<MainControl>(i))));
        if (w)
            w->setGeometry(twipsRect(r.left, r.top, r.width, r.height, 15, 15));
    }
}

void MainWindow::setupMenus()
{
    auto action = [this](QMenu *menu, const char *name, const QString &caption, bool checkable) {
        auto *a = menu->addAction(caption);
        a->setObjectName(QString::fromUtf8(name));
        a->setCheckable(checkable);
        return a;
    };
    auto separator = [](QMenu *menu, const char *name) {
        QAction *s = menu->addSeparator();
        s->setObjectName(QString::fromLatin1(name));
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = action(file, "mnuNew", QStringLiteral("&Neues Spiel"), false);
    mnuNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    separator(file, "mnuTrennungStufe1");
    mnuDrucken = action(file, "mnuDrucken", QStringLiteral("&Spielschein drucken"), false);
    mnuDrucken->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    separator(file, "mnuTrennungStufe2");
    mnuCloseAll = action(file, "mnuCloseAll", QStringLiteral("&Beenden"), false);

    QMenu *settings = menuBar()->addMenu(QStringLiteral("&Einstellungen"));
    settings->setObjectName(QStringLiteral("mnuEinstellungen"));
    QMenu *voice = settings->addMenu(QStringLiteral("Stimme&nauswahl"));
    voice->setObjectName(QStringLiteral("mnuStimme"));
    mnuWeiblich = action(voice, "mnuWeiblich", QStringLiteral("&Weiblich"), true);
    mnuWeiblich->setChecked(true);
    mnuMaennlich = action(voice, "mnuMännlich", QStringLiteral("M&ännlich"), true);
    separator(settings, "mnuTrennungStufe3");
    mnuManuell = action(settings, "mnuManuell", QStringLiteral("&Manuell schalten"), true);
    QMenu *automatic = settings->addMenu(QStringLiteral("&Automatisch"));
    automatic->setObjectName(QStringLiteral("mnuAuto"));
    mnu5Sec = action(automatic, "mnu5Sec", QStringLiteral("5 Se&kunden"), true);
    mnu10Sec = action(automatic, "mnu10Sec", QStringLiteral("10 Sek&unden"), true);
    mnu20Sec = action(automatic, "mnu20Sec", QStringLiteral("20 Sekun&den"), true);
    mnuManuellSec = action(automatic, "mnuManuellSec", QStringLiteral("&Manuell einstellen"), true);
    separator(settings, "mnuTrennungStufe4");
    mnu75Zahlen = action(settings, "mnu75Zahlen", QStringLiteral("&75.Zahlengenerator"), true);
    mnu90Zahlen = action(settings, "mnu90Zahlen", QStringLiteral("&90.Zahlengenerator"), true);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&?"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpIt = action(help, "mnuHelpIt", QStringLiteral("&Hilfe"), false);
    separator(help, "mnuTrennungStufe5");
    mnuOverMe = action(help, "mnuOverMe", QStringLiteral("&Über ..."), false);
}

void MainWindow::setupConnections()
{
    connect(cmdWeiter, &QPushButton::clicked, this, &MainWindow::cmdWeiter_Click);
    connect(cmdBingo, &QPushButton::clicked, this, &MainWindow::cmdBingo_Click);
    connect(cmdZahlenTafel, &QPushButton::clicked, this, &MainWindow::cmdZahlenTafel_Click);
    m_autoTimer->setHandler([this] { AutoTimer_Timer(); });
    m_zeitUni->setHandler([this] { ZeitUni_Timer(); });

    // Marks are set by the handlers alone: undo the toggle Qt makes on its own.
    auto menu = [this](QAction *a, void (MainWindow::*handler)()) {
        connect(a, &QAction::triggered, this, [this, a, handler](bool checked) {
            if (a->isCheckable())
                a->setChecked(!checked);
            (this->*handler)();
        });
    };
    menu(mnuNew, &MainWindow::mnuNew_Click);
    menu(mnuDrucken, &MainWindow::mnuDrucken_Click);
    menu(mnuCloseAll, &MainWindow::mnuCloseAll_Click);
    menu(mnuWeiblich, &MainWindow::mnuWeiblich_Click);
    menu(mnuMaennlich, &MainWindow::mnuMaennlich_Click);
    menu(mnuManuell, &MainWindow::mnuManuell_Click);
    menu(mnu5Sec, &MainWindow::mnu5Sec_Click);
    menu(mnu10Sec, &MainWindow::mnu10Sec_Click);
    menu(mnu20Sec, &MainWindow::mnu20Sec_Click);
    menu(mnuManuellSec, &MainWindow::mnuManuellSec_Click);
    menu(mnu75Zahlen, &MainWindow::mnu75Zahlen_Click);
    menu(mnu90Zahlen, &MainWindow::mnu90Zahlen_Click);
    menu(mnuHelpIt, &MainWindow::mnuHelpIt_Click);
    menu(mnuOverMe, &MainWindow::mnuOverMe_Click);
}

CheckSheet &MainWindow::frmKontrolle()
{
    // Any use creates the sheet, hidden, when it does not exist.
    if (!m_sheet) {
        const ScreenMeasure m = m_services.screen->measure();
        m_sheet = std::make_unique<CheckSheet>(m.twipsPerPixelX, m.twipsPerPixelY);
        m_sheet->setShowMainWindow([this] { bringToFront(); });
    }
    return *m_sheet;
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showMaximized();
    else
        show();
    raise();
    activateWindow();
}

// ---------------------------------------------------------------- load step

bool MainWindow::Form_Load()
{
    AdjustToResolution();
    if (m_game.BildArt == 0) {
        m_services.app->quit();
        return false;
    }
    setWindowTitle(appinfo::productName() + QLatin1Char(' ') + appinfo::versionText()
                   + QStringLiteral("          ") + appinfo::makerNotice());

    SharedStore &store = frmIntern();
    store.SchaltModus = 1;
    store.ZahlenModus = 1;
    store.StimmenModus = 1;

    m_game.GrZaSchrift = static_cast<qint16>(roundHalfEven(store.AufY / 2.0));
    mnuManuell->setChecked(true);
    mnu75Zahlen->setChecked(true);

    lblModusZahl->setText(QStringLiteral("75 Zahlen"));
    lblModusSchalten->setText(QStringLiteral("Manuell"));
    lblletzteModusZahl->setText(QStringLiteral("75"));
    lblStimmenModus->setText(QStringLiteral("Weiblich"));

    cmdWeiter->setToolTip(kWeiter);
    setGameButtonsEnabled(false);
    m_game.Bingo = QStringLiteral("Bingo!");
    return true;
}

void MainWindow::AdjustToResolution()
{
    m_layout = computeScreenLayout(m_services.screen->measure());
    SharedStore &store = frmIntern();
    store.AufX = m_layout.AufX;
    store.AufY = m_layout.AufY;
    store.AufTwipX = m_layout.AufTwipX;
    store.AufTwipY = m_layout.AufTwipY;
    m_game.BildArt = m_layout.BildArt;

    if (m_layout.BildArt == 0) {
        m_services.messages->show(this, texts::unsupportedScreen(store.AufX, store.AufY),
                                  MsgButtons::Ok);
        return;
    }
    applyLayout();
}

void MainWindow::applyLayout()
{
    const ScreenMeasure m = m_services.screen->measure();
    for (QLabel *label : m_status) {
        QFont f = label->font();
        setScreenPointSize(f, m_layout.fontSize);
        label->setFont(f);
    }
    for (QPushButton *b : {cmdBingo, cmdWeiter, cmdZahlenTafel}) {
        QFont f = b->font();
        setScreenPointSize(f, m_layout.fontSize);
        b->setFont(f);
    }
    for (int i = 0; i < kMainControlCount; ++i) {
        const auto c = static_cast<MainControl>(i);
        const TwipRect r = m_layout.rect(c);
        QWidget *w = centralWidget()->findChild<QWidget *>(QString::fromLatin1(mainControlName(c)));
        if (w)
            w->setGeometry(twipsRect(r.left, r.top, r.width, r.height, m.twipsPerPixelX,
                                     m.twipsPerPixelY));
    }
}

// ------------------------------------------------------------------ helpers

qint16 MainWindow::orderAt(int index) const
{
    if (index < 0 || index > 90)
        return 0;
    return m_game.Zahlenfolge[static_cast<size_t>(index)];
}

void MainWindow::setDisplayFontSize(double points)
{
    if (!(points > 0))
        return;
    QFont f = lblZahlenfeld->font();
    setScreenPointSize(f, points);
    lblZahlenfeld->setFont(f);
}

void MainWindow::setStepCaption(const QString &caption) { cmdWeiter->setText(caption); }

void MainWindow::setPoolMenusEnabled(bool enabled)
{
    mnu75Zahlen->setEnabled(enabled);
    mnu90Zahlen->setEnabled(enabled);
}

void MainWindow::setGameButtonsEnabled(bool enabled)
{
    cmdWeiter->setEnabled(enabled);
    cmdBingo->setEnabled(enabled);
    cmdZahlenTafel->setEnabled(enabled);
}

void MainWindow::showNumber()
{
    const qint16 n = orderAt(m_game.MerkerZahl);
    lblZahlenfeld->setText(QString::number(n));
    m_game.Kontroll = n;
    frmKontrolle().setNumberColour(m_game.Kontroll, kShown);
    lblAnzahlZahlen->setText(QString::number(m_game.MerkerZahl));
}

// -------------------------------------------------------------- stepping

void MainWindow::cmdWeiter_Click()
{
    if (cmdWeiter->text() == kStop && m_autoTimer->isEnabled())
        setStepCaption(kPause);
    if (cmdWeiter->text() == kPause && !m_autoTimer->isEnabled())
        setStepCaption(kStop);
    setDisplayFontSize(m_game.GrZaSchrift);

    const QString caption = cmdWeiter->text();
    if (caption == kStart && autoIntervalMs(frmIntern().ZahlenInterval) <= 0) {
        // No interval chosen yet: a timer of 0 ms would never step while the
        // button claims it runs. Go back to manual stepping and step at once.
        setStepCaption(kWeiter);
        cmdWeiter->setToolTip(kWeiter);
        if (m_game.MerkerZahl == 0)
            mnuNew_Click();
        cmdWeiter_Click();
        return;
    }

    if (caption == kWeiter) {
        bool announce = false;
        manualStep(announce);
        if (!announce)
            return;
    } else if (caption == kStart || caption == kStop) {
        if (!startAutomatic())
            return;
    } else if (caption == kPause) {
        m_autoTimer->setEnabled(false);
        setPoolMenusEnabled(true);
        lblZahlenfeld->clear();
    }

    const QString now = cmdWeiter->text();
    if ((!lblZahlenfeld->text().isEmpty() && now == kStop)
        || (m_game.MerkerZahl >= 1 && now == kWeiter))
        AnnounceNumber();
}

void MainWindow::manualStep(bool &announce)
{
    announce = false;
    ++m_game.MerkerZahl;
    if (poolUsedUp(frmIntern().ZahlenModus, m_game.MerkerZahl)) {
        endOfPool();
        return;
    }
    if (orderAt(m_game.MerkerZahl) == 0)
        return;
    showNumber();
    m_game.SoundB = 0;
    announce = true;
}

void MainWindow::endOfPool()
{
    m_services.messages->show(this, texts::endOfPool(), MsgButtons::Ok);
    m_game.MerkerZahl = 0;
    lblAnzahlZahlen->clear();
    lblZahlenfeld->clear();
    setStepCaption(kStart);
    cmdWeiter->setToolTip(kStart);
}

bool MainWindow::startAutomatic()
{
    setStepCaption(kStop);
    const float interval = frmIntern().ZahlenInterval;
    if (interval != 5.0f && interval != 10.0f && interval != 20.0f) {
        m_game.Zeitgeber = interval * 1000.0f;
        m_game.SoundB = 0;
    }
    m_autoTimer->setInterval(autoIntervalMs(interval));
    if (leadingNumber(lblletzteModusZahl->text()) < m_game.MerkerZahl)
        return false;
    m_autoTimer->setEnabled(true);
    setPoolMenusEnabled(false);
    return true;
}

void MainWindow::AutoTimer_Timer()
{
    if (m_game.MerkerZahl == 0)
        mnuNew_Click();
    m_autoTimer->setEnabled(false);
    lblZahlenfeld->clear();
    setDisplayFontSize(m_game.GrZaSchrift);
    ++m_game.MerkerZahl;
    if (poolUsedUp(frmIntern().ZahlenModus, m_game.MerkerZahl)) {
        m_services.messages->show(this, texts::endOfPool(), MsgButtons::Ok);
        m_game.MerkerZahl = 0;
        lblAnzahlZahlen->clear();
        lblZahlenfeld->clear();
        setStepCaption(kStart);
        cmdWeiter->setToolTip(kStart);
        setPoolMenusEnabled(true);
        return;
    }
    if (orderAt(m_game.MerkerZahl) == 0)
        return;
    showNumber();
    cmdWeiter_Click();
}

// ------------------------------------------------------------ announcement

void MainWindow::WaveFromRes(qint32 resId)
{
    const QByteArray image = m_services.resources->recording(resId);
    if (!image.isEmpty())
        m_services.sound->playWave(image);
}

void MainWindow::AnnounceNumber()
{
    const int n = orderAt(m_game.MerkerZahl);
    const qint16 voice = frmIntern().StimmenModus;
    if (m_game.SoundB == 1 && lblZahlenfeld->text() == QLatin1String("Bingo!")) {
        const int id = recordingIdForBingo(voice);
        if (id >= 0)
            m_game.ResIDZahl = static_cast<float>(id);
        WaveFromRes(static_cast<qint32>(roundHalfEven(m_game.ResIDZahl)));
        m_game.SoundB = 0;
        AskContinueAfterBingo();
        return;
    }
    const int id = recordingIdForNumber(voice, n);
    if (id >= 0)
        m_game.ResIDZahl = static_cast<float>(id);
    WaveFromRes(static_cast<qint32>(roundHalfEven(m_game.ResIDZahl)));
    m_game.SoundB = 1;
}

// ------------------------------------------------------------------- claim

void MainWindow::cmdBingo_Click()
{
    if (m_autoTimer->isEnabled())
        m_autoTimer->setEnabled(false);
    setDisplayFontSize(frmIntern().AufY / 3.5);
    m_zeitUni->setInterval(20);
    if (m_game.BZahl == 0) {
        lblZahlenfeld->clear();
        m_game.BZahl = 1;
    }
    if (m_game.BZahl >= 1 && m_game.BZahl <= 6)
        m_zeitUni->setEnabled(true);
    if (m_game.BZahl == 6) {
        CheckSheet &sheet = frmKontrolle();
        sheet.show();
        sheet.raise();
    }
}

void MainWindow::ZeitUni_Timer()
{
    m_zeitUni->setEnabled(false);
    m_game.SoundB = 0;
    lblZahlenfeld->setText(m_game.Bingo.left(m_game.BZahl));
    ++m_game.BZahl;
    if (m_game.BZahl < 7) {
        cmdBingo_Click();
        setPoolMenusEnabled(true);
    }
    if (m_game.BZahl == 7) {
        m_autoTimer->setEnabled(false);
        m_game.SoundB = 1;
        AnnounceNumber();
    }
}

void MainWindow::AskContinueAfterBingo()
{
    m_game.Antwort = m_services.messages->show(this, texts::continueQuestion(), MsgButtons::YesNo,
                                               texts::continueTitle());
    if (m_game.Antwort == kAnswerYes) {
        m_game.BZahl = 0;
        m_game.SoundB = 1;
        lblZahlenfeld->clear();
        setDisplayFontSize(m_game.GrZaSchrift);
    }
    if (cmdWeiter->text() != kWeiter)
        setStepCaption(kStart);
    if (m_game.Antwort == kAnswerNo) {
        m_game.BZahl = 0;
        m_game.MerkerZahl = 0;
        m_autoTimer->setEnabled(false);
        mnuNew_Click();
    }
}

void MainWindow::cmdZahlenTafel_Click()
{
    CheckSheet &sheet = frmKontrolle();
    sheet.hide();
    sheet.show();
    const bool pool75 = frmIntern().ZahlenModus == 1;
    for (int n = 1; n <= 90; ++n)
        sheet.cmdZahl(n)->setVisible(!(pool75 && n >= 76));
    sheet.hide();
    sheet.show();
    sheet.raise();
    sheet.activateWindow();
}

// ------------------------------------------------------- new game and quit

void MainWindow::mnuNew_Click()
{
    shuffleNumbers(m_game.Zahlenfolge, frmIntern().ZahlenModus, *m_services.random);
    lblZahlenfeld->clear();
    setDisplayFontSize(m_game.GrZaSchrift);
    CheckSheet &sheet = frmKontrolle();
    for (int n = 1; n <= 90; ++n)
        sheet.setNumberColour(n, kNotShown);
    m_game.MerkerZahl = 0;
    setGameButtonsEnabled(true);
    lblZahlenfeld->clear();
    lblAnzahlZahlen->clear();
    setPoolMenusEnabled(true);
    m_game.SoundB = 0;
}

void MainWindow::mnuCloseAll_Click()
{
    m_game.Antwort = m_services.messages->show(this, texts::quitQuestion(), MsgButtons::YesNo,
                                               texts::quitTitle());
    if (m_game.Antwort != kAnswerYes)
        return;
    // The program ends at once; a tick still due before the event loop stops
    // must not bring back the store and the sheet or play another number.
    m_autoTimer->setEnabled(false);
    m_zeitUni->setEnabled(false);
    destroyIntern();
    m_sheet.reset();
    m_services.app->quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    mnuCloseAll_Click();
    if (m_game.Antwort == kAnswerNo)
        event->ignore();
    else
        event->accept();
}

// ---------------------------------------------------------------- settings

void MainWindow::mnuWeiblich_Click()
{
    SharedStore &store = frmIntern();
    if (store.StimmenModus == 2) {
        store.StimmenModus = 1;
        mnuWeiblich->setChecked(true);
        mnuMaennlich->setChecked(false);
    }
    lblStimmenModus->setText(QStringLiteral("Weiblich"));
}

void MainWindow::mnuMaennlich_Click()
{
    SharedStore &store = frmIntern();
    if (store.StimmenModus == 1) {
        store.StimmenModus = 2;
        mnuMaennlich->setChecked(true);
        mnuWeiblich->setChecked(false);
    }
    lblStimmenModus->setText(QStringLiteral("Männlich"));
}

void MainWindow::setSteppingMarks(QAction *chosen)
{
    for (QAction *a : {mnuManuell, mnu5Sec, mnu10Sec, mnu20Sec, mnuManuellSec})
        a->setChecked(a == chosen);
}

void MainWindow::mnuManuell_Click()
{
    setSteppingMarks(mnuManuell);
    frmIntern().SchaltModus = 1;
    lblModusSchalten->setText(QStringLiteral("Manuell"));
    setStepCaption(kWeiter);
}

void MainWindow::setFixedInterval(int seconds, QAction *chosen, const QString &status)
{
    setSteppingMarks(chosen);
    SharedStore &store = frmIntern();
    store.ZahlenInterval = static_cast<float>(seconds);
    store.SchaltModus = 2;
    lblModusSchalten->setText(status);
    setStepCaption(kStart);
}

void MainWindow::mnu5Sec_Click() { setFixedInterval(5, mnu5Sec, QStringLiteral("5 Sekunden")); }
void MainWindow::mnu10Sec_Click() { setFixedInterval(10, mnu10Sec, QStringLiteral("10 Sekunden")); }
void MainWindow::mnu20Sec_Click() { setFixedInterval(20, mnu20Sec, QStringLiteral("20 Sekunden")); }

void MainWindow::mnuManuellSec_Click()
{
    if (m_intervalDialog) {
        m_intervalDialog->show();
        m_intervalDialog->raise();
        m_intervalDialog->activateWindow();
        return;
    }
    const ScreenMeasure m = m_services.screen->measure();
    m_intervalDialog = new IntervalDialog(*this, m.twipsPerPixelX, m.twipsPerPixelY);
    m_intervalDialog->show();
    m_intervalDialog->raise();
    m_intervalDialog->activateWindow();
}

void MainWindow::manualIntervalTaken()
{
    setSteppingMarks(mnuManuellSec);
    SharedStore &store = frmIntern();
    store.SchaltModus = 2;
    const float value = store.ZahlenInterval;
    const QString number = QString::number(static_cast<double>(value));
    lblModusSchalten->setText(number + (value > 1.0f ? QStringLiteral(" Sekunden")
                                                     : QStringLiteral(" Sekunde")));
    setStepCaption(kStart);
}

void MainWindow::setPool(qint16 modus)
{
    mnu75Zahlen->setChecked(modus == 1);
    mnu90Zahlen->setChecked(modus == 2);
    frmIntern().ZahlenModus = modus;
    lblModusZahl->setText(modus == 1 ? QStringLiteral("75 Zahlen") : QStringLiteral("90 Zahlen"));
    lblletzteModusZahl->setText(modus == 1 ? QStringLiteral("75") : QStringLiteral("90"));
    if (m_sheet && m_sheet->isVisible())
        cmdZahlenTafel_Click();
    if (cmdWeiter->text() != kStart && m_game.MerkerZahl > 0) {
        setStepCaption(kStart);
        lblAnzahlZahlen->clear();
        lblZahlenfeld->clear();
    }
    mnuNew_Click();
}

void MainWindow::mnu75Zahlen_Click() { setPool(1); }
void MainWindow::mnu90Zahlen_Click() { setPool(2); }

// ------------------------------------------- windows of later subsystems

namespace {
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

void MainWindow::mnuDrucken_Click()
{
    // A running game goes on while the tickets are printed.
    hide();
    if (raiseOpen(m_printDialog))
        return;
    m_printDialog = new PrintDialog(m_services, [this] { bringToFront(); });
    raiseOpen(m_printDialog);
}

void MainWindow::mnuHelpIt_Click()
{
    if (raiseOpen(m_helpWindow))
        return;
    m_helpWindow = new HelpWindow(m_services, [this] { bringToFront(); });
    raiseOpen(m_helpWindow);
}

void MainWindow::mnuOverMe_Click()
{
    if (raiseOpen(m_aboutWindow))
        return;
    m_aboutWindow = new AboutWindow(m_services, this);
    raiseOpen(m_aboutWindow);
}

} // namespace kugelfon
