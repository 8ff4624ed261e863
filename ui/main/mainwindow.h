#pragma once

#include "game/caller.h"
#include "platform/services.h"
#include "ui/interval/intervaldialog.h"
#include "ui/kit/ticketpicture.h"
#include "ui/main/layout.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

class QAction;
class QFrame;
class QLabel;
class QPushButton;

namespace kugelfon {

class CheckSheet;

// The caller's main window. It builds the controls, forwards clicks and menu
// choices to the caller's rules and shows what they publish.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Caller &caller, CheckSheet &sheet, const Services &services,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Before startUp(): the layout drawn smaller by this factor, for a
    // window on a screen too small for it (--fenster).
    void setScale(double scale) { m_scale = scale; }

    // Lays the window out for the screen. False when the screen is not
    // supported; the program has then been ended.
    bool startUp();

    // Shows and activates the main window (the secondary windows go back here).
    void bringToFront();

    IntervalDialog *intervalDialog() const { return m_intervalDialog; }
    QWidget *printDialog() const { return m_printDialog; }
    QWidget *helpWindow() const { return m_helpWindow; }
    QWidget *aboutWindow() const { return m_aboutWindow; }
    QWidget *checkWindow() const { return m_checkWindow; }
    // The ticket last checked, while the players are to see it.
    ShownTicket &shownTicket() { return m_shownTicket; }
    const ScreenLayout &screenLayout() const { return m_layout; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupControls();
    void setupMenus();
    void setupConnections();
    void whenIdle(const std::function<void()> &choice);
    void applyLayout();
    void fitCaptions();
    void showNumber();
    void showStepping();
    void showSettings();
    double displayPoints(Lettering lettering) const;
    // "Zahlentafel anzeigen": the sheet for the pool in force, in front.
    void openPrintDialog();
    void openIntervalDialog();
    void openHelp();
    void openAbout();
    void openCheckWindow();
    void placeCheckWindow(const QRect &beside);

    Caller &m_caller;
    CheckSheet &m_sheet;
    Services m_services;
    ScreenLayout m_layout;
    bool m_loaded = false;
    double m_scale = 1;
    double m_displayPoints = 0; // the number display's font as last set
    QPointer<IntervalDialog> m_intervalDialog;
    QPointer<QWidget> m_printDialog;
    QPointer<QWidget> m_helpWindow;
    QPointer<QWidget> m_aboutWindow;
    QPointer<QWidget> m_checkWindow;
    ShownTicket m_shownTicket;

    // The status row, left to right: caption and value, four times, with
    // "von" between count and pool size.
    std::array<QLabel *, 10> m_statusRow{};
    QLabel *m_poolText = nullptr;
    QLabel *m_steppingText = nullptr;
    QLabel *m_countText = nullptr;
    QLabel *m_poolSizeText = nullptr;
    QLabel *m_voiceText = nullptr;
    QFrame *m_numberFrame = nullptr;
    QLabel *m_numberDisplay = nullptr;
    QPushButton *m_bingoButton = nullptr;
    QPushButton *m_stepButton = nullptr;
    QPushButton *m_sheetButton = nullptr;

    QAction *m_newGame = nullptr;
    QAction *m_printTickets = nullptr;
    QAction *m_checkTicket = nullptr;
    QAction *m_quit = nullptr;
    QAction *m_female = nullptr;
    QAction *m_male = nullptr;
    QAction *m_manual = nullptr;
    QAction *m_seconds5 = nullptr;
    QAction *m_seconds10 = nullptr;
    QAction *m_seconds20 = nullptr;
    QAction *m_customSeconds = nullptr;
    QAction *m_pool75 = nullptr;
    QAction *m_pool90 = nullptr;
    QAction *m_help = nullptr;
    QAction *m_about = nullptr;
};

} // namespace kugelfon
