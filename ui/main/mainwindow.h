#pragma once

#include "game/gamestate.h"
#include "platform/services.h"
#include "ui/interval/intervaldialog.h"
#include "ui/main/layout.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace kugelfon {

class AboutWindow;
class CheckSheet;
class HelpWindow;
class PrintDialog;

// frmHauptseite: the caller's main window. It owns the game; its handlers are
// the only code that changes it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The check sheet is handed over already created (start-up order); when
    // none is given it is created hidden on first use.
    MainWindow(const Services &services, std::unique_ptr<CheckSheet> sheet = nullptr,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load step. Returns false when the screen is not supported and the
    // program has been ended.
    bool Form_Load();

    // Handlers, named after control and event.
    void cmdWeiter_Click();
    void cmdBingo_Click();
    void cmdZahlenTafel_Click();
    void AutoTimer_Timer();
    void ZeitUni_Timer();
    void mnuNew_Click();
    void mnuCloseAll_Click();
    void mnuDrucken_Click();
    void mnuWeiblich_Click();
    void mnuMaennlich_Click();
    void mnuManuell_Click();
    void mnu5Sec_Click();
    void mnu10Sec_Click();
    void mnu20Sec_Click();
    void mnuManuellSec_Click();
    void mnu75Zahlen_Click();
    void mnu90Zahlen_Click();
    void mnuHelpIt_Click();
    void mnuOverMe_Click();

    // Plays a recording to its end; a missing or unplayable one is silence.
    void WaveFromRes(qint32 resId);

    // The interval dialog took its value: marks, mode, status and step button.
    void manualIntervalTaken();

    // Shows and activates the main window (used by the secondary windows).
    void bringToFront();

    const GameState &game() const { return m_game; }
    CheckSheet &frmKontrolle();
    bool hasCheckSheet() const { return m_sheet != nullptr; }
    IntervalDialog *intervalDialog() const { return m_intervalDialog; }
    QWidget *printDialog() const { return m_printDialog; }
    QWidget *helpWindow() const { return m_helpWindow; }
    QWidget *aboutWindow() const { return m_aboutWindow; }
    ITimer &autoTimer() { return *m_autoTimer; }
    ITimer &zeitUni() { return *m_zeitUni; }
    const ScreenLayout &screenLayout() const { return m_layout; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupControls();
    void setupMenus();
    void setupConnections();
    void AdjustToResolution();
    void applyLayout();
    void AnnounceNumber();
    void AskContinueAfterBingo();
    void manualStep(bool &announce);
    void endOfPool();
    bool startAutomatic();
    void setFixedInterval(int seconds, QAction *chosen, const QString &status);
    void setPool(qint16 modus);
    void setSteppingMarks(QAction *chosen);
    void showNumber();
    void setDisplayFontSize(double points);
    void setStepCaption(const QString &caption);
    void setPoolMenusEnabled(bool enabled);
    void setGameButtonsEnabled(bool enabled);
    qint16 orderAt(int index) const;

    Services m_services;
    GameState m_game;
    ScreenLayout m_layout;
    std::unique_ptr<CheckSheet> m_sheet;
    std::unique_ptr<ITimer> m_autoTimer;
    std::unique_ptr<ITimer> m_zeitUni;
    QPointer<IntervalDialog> m_intervalDialog;
    QPointer<QWidget> m_printDialog;
    QPointer<QWidget> m_helpWindow;
    QPointer<QWidget> m_aboutWindow;

    std::array<QLabel *, 10> m_status{};
    QLabel *lblModusZahl = nullptr;
    QLabel *lblModusSchalten = nullptr;
    QLabel *lblAnzahlZahlen = nullptr;
    QLabel *lblletzteModusZahl = nullptr;
    QLabel *lblStimmenModus = nullptr;
    QFrame *frmZahl = nullptr;
    QLabel *lblZahlenfeld = nullptr;
    QPushButton *cmdBingo = nullptr;
    QPushButton *cmdWeiter = nullptr;
    QPushButton *cmdZahlenTafel = nullptr;

    QAction *mnuNew = nullptr;
    QAction *mnuDrucken = nullptr;
    QAction *mnuCloseAll = nullptr;
    QAction *mnuWeiblich = nullptr;
    QAction *mnuMaennlich = nullptr;
    QAction *mnuManuell = nullptr;
    QAction *mnu5Sec = nullptr;
    QAction *mnu10Sec = nullptr;
    QAction *mnu20Sec = nullptr;
    QAction *mnuManuellSec = nullptr;
    QAction *mnu75Zahlen = nullptr;
    QAction *mnu90Zahlen = nullptr;
    QAction *mnuHelpIt = nullptr;
    QAction *mnuOverMe = nullptr;
};

} // namespace kugelfon
