#pragma once

#include "game/numberdraw.h"
#include "game/settings.h"
#include "platform/services.h"
#include "platform/messagebox.h"
#include "platform/timer.h"

#include <QObject>
#include <QString>
#include <bitset>
#include <memory>

namespace kugelfon {

// The step button's state, which its caption shows.
enum class StepButton { Weiter, Start, Stop, Pause };

// The item of the stepping group that carries the check mark.
enum class SteppingChoice { Manual, Seconds5, Seconds10, Seconds20, Custom };

// Everything of the game that the windows show.
struct CallerView {
    QString display;          // the number, letters of "Bingo!", or nothing
    double displayPoints = 0; // font size of the display; 0 until first set
    int shownCount = 0;       // the count row; empty while 0
    int lastNumber = 0;       // the number last put on the display by a step
    std::bitset<kMaxPool + 1> marked; // shown in this game: green on the check sheet
    StepButton stepButton = StepButton::Weiter;
    StepButton stepToolTip = StepButton::Weiter;
    bool gameButtonsEnabled = false; // until the first new game
    bool poolChoiceEnabled = true;   // off while automatic stepping runs
    SteppingChoice steppingChoice = SteppingChoice::Manual;
    int customSeconds = 0;           // the interval taken from the dialog
};

// The caller's rules: the order of a game and how far it got, manual and
// automatic stepping, the "Bingo!" claim with its question, new game, the
// settings and the quit question. No widget in sight: the windows forward
// clicks and menu choices here and show view() whenever changed() comes.
class Caller final : public QObject {
    Q_OBJECT
public:
    Caller(Settings &settings, const Services &services);
    ~Caller() override;

    // The step button, also called by every automatic tick.
    void pressStep();
    // One press of "Bingo!"; the letter timer calls it again while typing.
    void claimBingo();
    void newGame();
    // Asks whether to end the program; true when it ends.
    bool confirmQuit();

    void chooseVoice(Voice voice);
    void chooseManualStepping();
    void chooseFixedInterval(int seconds);
    // The interval dialog's slider as it moves.
    void setInterval(float seconds);
    // The dialog closed without taking: the slider's interval goes, the one
    // last chosen (by a menu item or taken) comes back.
    void dropSliderInterval();
    void takeCustomInterval(int seconds);
    void choosePool(Pool pool);

    const CallerView &view() const { return m_view; }
    const Settings &settings() const { return m_settings; }
    const NumberOrder &order() const { return m_order; }
    // How many numbers of the order have been shown.
    int count() const { return m_count; }
    // "Bingo!" typing: 0 idle, 1..6 letters of the next tick, 7 complete.
    int bingoLetters() const { return m_bingoLetters; }
    ITimer &autoTimer() { return *m_autoTimer; }
    ITimer &letterTimer() { return *m_letterTimer; }

signals:
    void changed();
    // The claim has reached "Bingo": the check sheet comes up as it stands.
    void checkSheetWanted();
    // A pool was chosen; a visible check sheet is laid out anew.
    void poolChosen();
    // The quit question was answered Yes; the program ends now.
    void ending();

private:
    void onAutoTick();
    void onLetterTick();
    bool manualStep();
    bool startAutomatic();
    void reachEndOfPool();
    void showNextNumber();
    void announce();
    void play(int recording);
    void askContinueAfterBingo();
    int ask(const QString &text, MsgButtons buttons, const QString &title = QString());
    void setDisplayPoints(double points);
    double numberPoints() const;
    bool poolUsedUp() const;
    qint16 orderAt(int index) const;

    Settings &m_settings;
    Services m_services;
    std::unique_ptr<ITimer> m_autoTimer;
    std::unique_ptr<ITimer> m_letterTimer;
    NumberOrder m_order{};
    int m_count = 0;
    int m_bingoLetters = 0;
    float m_chosenSeconds = 0; // the interval the status row stands for
    CallerView m_view;
};

// Period of automatic stepping in ms for an interval in seconds; 0 when none.
int autoIntervalMs(float seconds);

} // namespace kugelfon
