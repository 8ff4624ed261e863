#include "game/caller.h"

#include "game/recordings.h"
#include "platform/rounding.h"
#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/resources.h"
#include "platform/soundoutput.h"
#include "platform/timer.h"

namespace kugelfon {

namespace {

const QString kBingoWord = QStringLiteral("Bingo!");
constexpr int kBingoComplete = 7;

const QString kEndOfPool =
    QStringLiteral("Zahlenende wurde erreicht, bitte starten Sie ein neues Spiel.");
const QString kQuitQuestion = QStringLiteral("Möchten Sie das Programm beenden?");
const QString kQuitTitle = QStringLiteral("Programm schliessen");
const QString kContinueQuestion =
    QStringLiteral("Möchten Sie weiterspielen?\r\rJa    = Spiel wird fortgesetzt,\r"
                   "Nein = Beendet dieses Spiel,\r"
                   "            und Start eines neuen Spieles.");
const QString kContinueTitle = QStringLiteral("Weiterspielen?");

} // namespace

int autoIntervalMs(float seconds)
{
    if (seconds == 5.0f)
        return 5000;
    if (seconds == 10.0f)
        return 10000;
    if (seconds == 20.0f)
        return 20000;
    const double ms = static_cast<double>(seconds) * 1000.0;
    if (!(ms > 0))
        return 0;
    if (ms > 2147483647.0)
        return 2147483647;
    return static_cast<int>(roundHalfEven(ms));
}

Caller::Caller(Settings &settings, const Services &services)
    : m_settings(settings),
      m_services(services),
      m_autoTimer(services.timers->create(TimerRole::AutoStep)),
      m_letterTimer(services.timers->create(TimerRole::BingoLetters)),
      m_chosenSeconds(settings.intervalSeconds)
{
    m_autoTimer->setEnabled(false);
    m_letterTimer->setInterval(0);
    m_autoTimer->setHandler([this] { onAutoTick(); });
    m_letterTimer->setHandler([this] { onLetterTick(); });
}

Caller::~Caller() = default;

// ------------------------------------------------------------------ helpers

qint16 Caller::orderAt(int index) const
{
    return index < 0 || index > kMaxPool ? qint16(0) : m_order[static_cast<size_t>(index)];
}

double Caller::numberPoints() const
{
    return static_cast<double>(roundHalfEven(m_settings.screen.heightPx / 2.0));
}

void Caller::setDisplayPoints(double points)
{
    if (points > 0)
        m_view.displayPoints = points;
}

bool Caller::poolUsedUp() const
{
    return (m_settings.pool == Pool::Of75 && m_count >= 76) || m_count >= 91;
}

int Caller::ask(const QString &text, MsgButtons buttons, const QString &title)
{
    // The box waits in an event loop of its own: the windows show the game
    // as it stands behind it.
    emit changed();
    return m_services.messages->show(nullptr, text, buttons, title);
}

void Caller::showNextNumber()
{
    const qint16 n = orderAt(m_count);
    m_view.display = QString::number(n);
    m_view.lastNumber = n;
    if (n >= 1 && n <= kMaxPool)
        m_view.marked.set(static_cast<size_t>(n));
    m_view.shownCount = m_count;
}

void Caller::play(int recording)
{
    // Playing blocks until the recording ends; what it calls is on show first.
    emit changed();
    const QByteArray image = m_services.resources->recording(recording);
    if (!image.isEmpty())
        m_services.sound->playWave(image);
}

void Caller::announce()
{
    if (m_bingoLetters == kBingoComplete) {
        play(bingoRecording(m_settings.voice));
        askContinueAfterBingo();
        return;
    }
    play(numberRecording(m_settings.voice, orderAt(m_count)));
}

// ----------------------------------------------------------------- stepping

void Caller::pressStep()
{
    // A press while running pauses, a press while paused resumes; a tick
    // calls with the timer already off, so "Stop" stays and re-arms it.
    if (m_view.stepButton == StepButton::Stop && m_autoTimer->isEnabled())
        m_view.stepButton = StepButton::Pause;
    if (m_view.stepButton == StepButton::Pause && !m_autoTimer->isEnabled())
        m_view.stepButton = StepButton::Stop;
    setDisplayPoints(numberPoints());

    const StepButton state = m_view.stepButton;
    if ((state == StepButton::Start || state == StepButton::Stop)
        && autoIntervalMs(m_settings.intervalSeconds) <= 0) {
        // No period: a timer of 0 ms would never step while the button
        // claims it runs. Go back to manual stepping, marks and all.
        m_autoTimer->setEnabled(false);
        m_view.poolChoiceEnabled = true;
        m_view.stepButton = StepButton::Weiter;
        m_view.stepToolTip = StepButton::Weiter;
        m_view.steppingChoice = SteppingChoice::Manual;
        m_settings.stepping = SteppingMode::Manual;
        if (state == StepButton::Start) {
            // Step at once, as the press asked.
            if (m_count == 0)
                newGame();
            pressStep();
            return;
        }
        // A tick put its number up: it is still called.
        if (!m_view.display.isEmpty() && m_count >= 1)
            announce();
        emit changed();
        return;
    }

    switch (state) {
    case StepButton::Weiter:
        if (!manualStep()) {
            emit changed();
            return;
        }
        break;
    case StepButton::Start:
    case StepButton::Stop:
        if (!startAutomatic()) {
            emit changed();
            return;
        }
        break;
    case StepButton::Pause:
        m_autoTimer->setEnabled(false);
        m_view.poolChoiceEnabled = true;
        m_view.display.clear();
        break;
    }

    const StepButton now = m_view.stepButton;
    if ((!m_view.display.isEmpty() && now == StepButton::Stop)
        || (m_count >= 1 && now == StepButton::Weiter))
        announce();
    emit changed();
}

// True when a number was shown and is to be announced.
bool Caller::manualStep()
{
    ++m_count;
    if (poolUsedUp()) {
        reachEndOfPool();
        return false;
    }
    if (orderAt(m_count) == 0)
        return false;
    showNextNumber();
    return true;
}

void Caller::reachEndOfPool()
{
    ask(kEndOfPool, MsgButtons::Ok);
    m_count = 0;
    m_view.shownCount = 0;
    m_view.display.clear();
    m_view.stepButton = StepButton::Start;
    m_view.stepToolTip = StepButton::Start;
}

// False when the count has passed the pool: the button reads "Stop" but
// nothing is armed.
bool Caller::startAutomatic()
{
    m_view.stepButton = StepButton::Stop;
    m_autoTimer->setInterval(autoIntervalMs(m_settings.intervalSeconds));
    if (poolSize(m_settings.pool) < m_count)
        return false;
    m_autoTimer->setEnabled(true);
    m_view.poolChoiceEnabled = false;
    return true;
}

void Caller::onAutoTick()
{
    if (m_count == 0)
        newGame();
    m_autoTimer->setEnabled(false);
    m_view.display.clear();
    setDisplayPoints(numberPoints());
    ++m_count;
    if (poolUsedUp()) {
        reachEndOfPool();
        m_view.poolChoiceEnabled = true;
        emit changed();
        return;
    }
    if (orderAt(m_count) == 0) {
        emit changed();
        return;
    }
    showNextNumber();
    pressStep();
}

// -------------------------------------------------------------------- claim

void Caller::claimBingo()
{
    if (m_autoTimer->isEnabled())
        m_autoTimer->setEnabled(false);
    setDisplayPoints(m_settings.screen.heightPx / 3.5);
    m_letterTimer->setInterval(20);
    if (m_bingoLetters == 0) {
        m_view.display.clear();
        m_bingoLetters = 1;
    }
    if (m_bingoLetters >= 1 && m_bingoLetters <= 6)
        m_letterTimer->setEnabled(true);
    emit changed();
    if (m_bingoLetters == 6)
        emit checkSheetWanted();
}

void Caller::onLetterTick()
{
    m_letterTimer->setEnabled(false);
    m_view.display = kBingoWord.left(m_bingoLetters);
    ++m_bingoLetters;
    if (m_bingoLetters < kBingoComplete) {
        claimBingo();
        m_view.poolChoiceEnabled = true;
    }
    if (m_bingoLetters == kBingoComplete) {
        m_autoTimer->setEnabled(false);
        announce();
    }
    emit changed();
}

void Caller::askContinueAfterBingo()
{
    const int answer = ask(kContinueQuestion, MsgButtons::YesNo, kContinueTitle);
    if (answer == kAnswerYes) {
        m_bingoLetters = 0;
        m_view.display.clear();
        setDisplayPoints(numberPoints());
    }
    if (m_view.stepButton != StepButton::Weiter)
        m_view.stepButton = StepButton::Start;
    if (answer == kAnswerNo) {
        m_bingoLetters = 0;
        m_count = 0;
        m_autoTimer->setEnabled(false);
        newGame();
    }
}

// ---------------------------------------------------- new game and quitting

void Caller::newGame()
{
    drawOrder(*m_services.random, poolSize(m_settings.pool), m_order);
    m_view.display.clear();
    setDisplayPoints(numberPoints());
    m_view.marked.reset();
    m_count = 0;
    m_view.gameButtonsEnabled = true;
    m_view.shownCount = 0;
    m_view.poolChoiceEnabled = true;
    emit changed();
}

bool Caller::confirmQuit()
{
    if (ask(kQuitQuestion, MsgButtons::YesNo, kQuitTitle) != kAnswerYes)
        return false;
    // The program ends at once; a tick still due before the event loop stops
    // must not play another number.
    m_autoTimer->setEnabled(false);
    m_letterTimer->setEnabled(false);
    emit ending();
    m_services.app->quit();
    return true;
}

// ----------------------------------------------------------------- settings

void Caller::chooseVoice(Voice voice)
{
    m_settings.voice = voice;
    emit changed();
}

void Caller::chooseManualStepping()
{
    m_view.steppingChoice = SteppingChoice::Manual;
    m_settings.stepping = SteppingMode::Manual;
    m_view.stepButton = StepButton::Weiter;
    emit changed();
}

void Caller::chooseFixedInterval(int seconds)
{
    m_view.steppingChoice = seconds == 5    ? SteppingChoice::Seconds5
                            : seconds == 10 ? SteppingChoice::Seconds10
                                            : SteppingChoice::Seconds20;
    m_settings.intervalSeconds = static_cast<float>(seconds);
    m_chosenSeconds = m_settings.intervalSeconds;
    m_settings.stepping = SteppingMode::Automatic;
    m_view.stepButton = StepButton::Start;
    emit changed();
}

void Caller::setInterval(float seconds)
{
    // Takes effect at the next automatic step; marks and status stay.
    m_settings.intervalSeconds = seconds;
}

void Caller::dropSliderInterval()
{
    m_settings.intervalSeconds = m_chosenSeconds;
    // A tick may have armed the timer at the slider's period already: the
    // period the status row shows takes over now, not one interval later.
    const int ms = autoIntervalMs(m_chosenSeconds);
    if (m_autoTimer->isEnabled() && ms > 0 && m_autoTimer->interval() != ms)
        m_autoTimer->setInterval(ms);
}

void Caller::takeCustomInterval(int seconds)
{
    m_settings.intervalSeconds = static_cast<float>(seconds);
    m_chosenSeconds = m_settings.intervalSeconds;
    m_view.steppingChoice = SteppingChoice::Custom;
    m_view.customSeconds = seconds;
    m_settings.stepping = SteppingMode::Automatic;
    m_view.stepButton = StepButton::Start;
    emit changed();
}

void Caller::choosePool(Pool pool)
{
    m_settings.pool = pool;
    emit poolChosen();
    if (m_view.stepButton != StepButton::Start && m_count > 0) {
        m_view.stepButton = StepButton::Start;
        m_view.shownCount = 0;
        m_view.display.clear();
    }
    // Any choice, also of the pool in force, starts a new game at once.
    newGame();
}

} // namespace kugelfon
