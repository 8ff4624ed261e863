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

// How stepping stands; the step button's caption shows it.
enum class Stepping {
    Manual,  // "Weiter": a press shows the next number
    Ready,   // "Start": a press starts automatic stepping
    Running, // "Stop": the timer steps; a press pauses
    Halted,  // "Stop": a claim or the quit question stopped the timer; a press goes on
    Paused,  // "Pause": a press goes on
};

// What the number display is set in, so that the window can size its type.
enum class Lettering { Design, Number, Claim };

// The "Bingo!" claim, typed out a letter per tick before it is called.
enum class ClaimPhase {
    None,   // no claim
    Typing, // the letter timer types the next letter
    Called, // "Bingo!" stands, is called and its question asked
};
struct ClaimLettering {
    ClaimPhase phase = ClaimPhase::None;
    int typed = 0; // letters of "Bingo!" typed so far
    bool operator==(const ClaimLettering &) const = default;
};

// Everything of the game that the windows show.
struct CallerView {
    Settings settings;
    Stepping stepping = Stepping::Manual;
    // Since the pool last ran out the step button's tool tip reads "Start",
    // until stepping falls back to manual for want of an interval.
    bool poolRanOut = false;
    ClaimLettering claim;
    QString display;          // the number, letters of "Bingo!", or nothing
    bool displayLetters = false; // display holds letters of "Bingo!"
    Lettering lettering = Lettering::Design;
    int shownCount = 0;       // the count row; empty while 0
    int lastNumber = 0;       // the number last put on the display by a step
    std::bitset<kMaxPool + 1> marked; // shown in this game: green on the check sheet
    bool gameButtonsEnabled = false; // until the first new game
    bool poolChoiceEnabled = true;   // off while automatic stepping runs
};

// The caller's rules: the order of a game and how far it got, manual and
// automatic stepping, the "Bingo!" claim with its question, new game, the
// settings and the quit question. No widget in sight: the windows forward
// clicks and menu choices here, and each shows the part of view() that a
// signal says has changed.
class Caller final : public QObject {
    Q_OBJECT
public:
    explicit Caller(const Services &services);
    ~Caller() override;

    // The step button; every automatic tick ends with it too.
    void pressStep();
    // A press of "Bingo!": typing starts, or goes on where it stands.
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
    const NumberOrder &order() const { return m_order; }
    // How many numbers of the order have been shown.
    int count() const { return m_count; }
    // True while a recording plays: the window thread may handle events then,
    // but no choice of the organiser's may enter the game until it ends.
    bool isCalling() const { return m_calling; }

signals:
    // What changed in view(), each published once the Caller's step is done,
    // before a call is heard and before a question is asked.
    void numberChanged();   // display and its lettering, shownCount, lastNumber
    void marksChanged();    // marked
    void steppingChanged(); // stepping, poolRanOut and what may be pressed
    void claimChanged();    // claim
    void settingsChanged(); // settings
    // The claim has reached "Bingo": the check sheet comes up as it stands.
    void checkSheetWanted();
    // A pool was chosen; a visible check sheet is laid out anew.
    void poolChosen();
    // The quit question was answered Yes; the program ends now.
    void ending();

private:
    void onAutoTick();
    void onLetterTick();
    void typeOn();
    bool stepManually();
    void startTimer();
    void stopTimer();
    void pause();
    void fallBackToManual(bool stepNow);
    void reachEndOfPool();
    void showNextNumber();
    void clearDisplay();
    void announce();
    void play(int recording);
    void askContinueAfterBingo();
    void publish();
    int ask(const QString &text, MsgButtons buttons, const QString &title = QString());
    bool poolUsedUp() const;
    qint16 orderAt(int index) const;

    Settings &settings() { return m_view.settings; }
    const Settings &settings() const { return m_view.settings; }

    Services m_services;
    std::unique_ptr<ITimer> m_autoTimer;
    std::unique_ptr<ITimer> m_letterTimer;
    NumberOrder m_order{};
    int m_count = 0;
    bool m_calling = false;
    float m_chosenSeconds = 0; // the interval the status row stands for
    CallerView m_view;
    CallerView m_published; // as the windows last heard of it
};

// Period of automatic stepping in ms for an interval in seconds; 0 when none.
int autoIntervalMs(float seconds);

} // namespace kugelfon
