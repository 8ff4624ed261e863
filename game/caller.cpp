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

Caller::Caller(const Services &services)
    : m_services(services),
      m_autoTimer(services.timers->create(TimerRole::AutoStep)),
      m_letterTimer(services.timers->create(TimerRole::BingoLetters))
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

bool Caller::poolUsedUp() const
{
    return (settings().pool == Pool::Of75 && m_count >= 76) || m_count >= 91;
}

int Caller::ask(const QString &text, MsgButtons buttons, const QString &title)
{
    // The box waits in an event loop of its own: the windows show the game
    // as it stands behind it.
    publish();
    return m_services.messages->show(nullptr, text, buttons, title);
}

void Caller::publish()
{
    const CallerView &was = m_published, &v = m_view;
    const bool number = v.display != was.display || v.displayLetters != was.displayLetters
        || v.lettering != was.lettering
        || v.shownCount != was.shownCount || v.lastNumber != was.lastNumber;
    const bool marks = v.marked != was.marked;
    const bool stepping = v.stepping != was.stepping || v.poolRanOut != was.poolRanOut
        || v.gameButtonsEnabled != was.gameButtonsEnabled || v.poolChoiceEnabled != was.poolChoiceEnabled;
    const bool claim = v.claim != was.claim;
    const bool settings = v.settings != was.settings;
    m_published = m_view;
    if (settings)
        emit settingsChanged();
    if (stepping)
        emit steppingChanged();
    if (claim)
        emit claimChanged();
    if (marks)
        emit marksChanged();
    if (number)
        emit numberChanged();
}

void Caller::clearDisplay()
{
    m_view.display.clear();
    m_view.displayLetters = false;
}

void Caller::showNextNumber()
{
    const qint16 n = orderAt(m_count);
    m_view.display = QString::number(n);
    m_view.displayLetters = false;
    m_view.lastNumber = n;
    if (n >= 1 && n <= kMaxPool)
        m_view.marked.set(static_cast<size_t>(n));
    m_view.shownCount = m_count;
}

void Caller::play(int recording)
{
    // Playing blocks until the recording ends; what it calls is on show first.
    publish();
    const QByteArray image = m_services.resources->recording(recording);
    if (image.isEmpty())
        return;
    m_calling = true;
    m_services.sound->playWave(image);
    m_calling = false;
}

void Caller::announce()
{
    if (m_view.claim.phase == ClaimPhase::Called) {
        play(bingoRecording(settings().voice));
        askContinueAfterBingo();
        return;
    }
    play(numberRecording(settings().voice, orderAt(m_count)));
}

// ----------------------------------------------------------------- stepping

void Caller::pressStep()
{
    m_view.lettering = Lettering::Number;
    switch (m_view.stepping) {
    case Stepping::Manual:
        if (stepManually())
            announce();
        break;
    case Stepping::Running:
        pause();
        break;
    case Stepping::Ready:
    case Stepping::Halted:
    case Stepping::Paused:
        // Calling starts by itself only where the organiser chose an interval:
        // "Start" after the end of the pool steps by hand in manual stepping.
        if (settings().stepping == SteppingChoice::Manual
            || autoIntervalMs(settings().intervalSeconds) <= 0) {
            fallBackToManual(m_view.stepping == Stepping::Ready);
            break;
        }
        startTimer();
        // A number on show is called again as stepping starts.
        if (!m_view.display.isEmpty())
            announce();
        break;
    }
    publish();
}

// True when a number was shown and is to be announced.
bool Caller::stepManually()
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

void Caller::startTimer()
{
    m_autoTimer->setInterval(autoIntervalMs(settings().intervalSeconds));
    m_autoTimer->setEnabled(true);
    m_view.stepping = Stepping::Running;
    m_view.poolChoiceEnabled = false;
}

void Caller::stopTimer()
{
    m_autoTimer->setEnabled(false);
    if (m_view.stepping == Stepping::Running)
        m_view.stepping = Stepping::Halted;
}

void Caller::pause()
{
    stopTimer();
    m_view.stepping = Stepping::Paused;
    m_view.poolChoiceEnabled = true;
    clearDisplay();
}

// No period: a timer of 0 ms would never step while the button claims it
// runs. Stepping goes back to manual, marks and all; a press of "Start"
// steps at once, as it asked.
void Caller::fallBackToManual(bool stepNow)
{
    m_autoTimer->setEnabled(false);
    m_view.poolChoiceEnabled = true;
    m_view.stepping = Stepping::Manual;
    m_view.poolRanOut = false;
    settings().stepping = SteppingChoice::Manual;
    if (stepNow) {
        if (m_count == 0)
            newGame();
        if (stepManually())
            announce();
    } else if (!m_view.display.isEmpty() && m_count >= 1) {
        // A tick put its number up: it is still called.
        announce();
    }
}

void Caller::reachEndOfPool()
{
    ask(kEndOfPool, MsgButtons::Ok);
    m_count = 0;
    m_view.shownCount = 0;
    clearDisplay();
    m_view.stepping = Stepping::Ready;
    m_view.poolRanOut = true;
}

void Caller::onAutoTick()
{
    if (m_count == 0)
        newGame();
    stopTimer();
    clearDisplay();
    m_view.lettering = Lettering::Number;
    ++m_count;
    if (poolUsedUp()) {
        reachEndOfPool();
        m_view.poolChoiceEnabled = true;
        publish();
        return;
    }
    if (orderAt(m_count) == 0) {
        publish();
        return;
    }
    showNextNumber();
    if (m_view.stepping == Stepping::Manual) {
        // "Manuell schalten" was chosen meanwhile: this number is called and
        // the timer stays off. Stepping on at once would mark a number on the
        // check sheet that nobody saw or heard.
        announce();
        publish();
        return;
    }
    // Then as a press of the button: the timer starts again.
    pressStep();
}

// -------------------------------------------------------------------- claim

void Caller::claimBingo()
{
    if (m_view.claim.phase == ClaimPhase::None) {
        clearDisplay();
        m_view.claim = {ClaimPhase::Typing, 0};
    }
    typeOn();
}

// Holds automatic stepping and lets the letter timer type the next letter;
// with "Bingo" on show the check sheet comes up as it stands.
void Caller::typeOn()
{
    stopTimer();
    m_view.lettering = Lettering::Claim;
    m_letterTimer->setInterval(20);
    const bool typing = m_view.claim.phase == ClaimPhase::Typing;
    if (typing)
        m_letterTimer->setEnabled(true);
    publish();
    if (typing && m_view.claim.typed == kBingoWord.size() - 1)
        emit checkSheetWanted();
}

void Caller::onLetterTick()
{
    m_letterTimer->setEnabled(false);
    if (m_view.claim.phase != ClaimPhase::Typing)
        return;
    m_view.display = kBingoWord.left(++m_view.claim.typed);
    m_view.displayLetters = true;
    if (m_view.claim.typed < kBingoWord.size()) {
        typeOn();
        m_view.poolChoiceEnabled = true;
    } else {
        m_view.claim.phase = ClaimPhase::Called;
        stopTimer();
        announce();
    }
    publish();
}

void Caller::askContinueAfterBingo()
{
    const int answer = ask(kContinueQuestion, MsgButtons::YesNo, kContinueTitle);
    if (answer == kAnswerYes) {
        m_view.claim = {};
        clearDisplay();
        m_view.lettering = Lettering::Number;
    }
    if (m_view.stepping != Stepping::Manual)
        m_view.stepping = Stepping::Ready;
    if (answer == kAnswerNo) {
        m_view.claim = {};
        m_count = 0;
        stopTimer();
        newGame();
    }
}

// ---------------------------------------------------- new game and quitting

void Caller::newGame()
{
    drawOrder(*m_services.random, poolSize(settings().pool), m_order);
    clearDisplay();
    m_view.lettering = Lettering::Number;
    m_view.marked.reset();
    m_count = 0;
    m_view.gameButtonsEnabled = true;
    m_view.shownCount = 0;
    m_view.poolChoiceEnabled = true;
    publish();
}

bool Caller::confirmQuit()
{
    if (ask(kQuitQuestion, MsgButtons::YesNo, kQuitTitle) != kAnswerYes)
        return false;
    // The program ends at once; a tick still due before the event loop stops
    // must not play another number.
    stopTimer();
    m_letterTimer->setEnabled(false);
    emit ending();
    m_services.app->quit();
    return true;
}

// ----------------------------------------------------------------- settings

void Caller::chooseVoice(Voice voice)
{
    settings().voice = voice;
    publish();
}

void Caller::chooseManualStepping()
{
    settings().stepping = SteppingChoice::Manual;
    m_view.stepping = Stepping::Manual;
    publish();
}

void Caller::chooseFixedInterval(int seconds)
{
    settings().stepping = seconds == 5    ? SteppingChoice::Seconds5
                          : seconds == 10 ? SteppingChoice::Seconds10
                                          : SteppingChoice::Seconds20;
    settings().intervalSeconds = static_cast<float>(seconds);
    m_chosenSeconds = settings().intervalSeconds;
    m_view.stepping = Stepping::Ready;
    publish();
}

void Caller::setInterval(float seconds)
{
    // Takes effect at the next automatic step; marks and status stay.
    settings().intervalSeconds = seconds;
}

void Caller::dropSliderInterval()
{
    settings().intervalSeconds = m_chosenSeconds;
    // A tick may have armed the timer at the slider's period already: the
    // period the status row shows takes over now, not one interval later.
    const int ms = autoIntervalMs(m_chosenSeconds);
    if (m_autoTimer->isEnabled() && ms > 0 && m_autoTimer->interval() != ms)
        m_autoTimer->setInterval(ms);
}

void Caller::takeCustomInterval(int seconds)
{
    settings().intervalSeconds = static_cast<float>(seconds);
    m_chosenSeconds = settings().intervalSeconds;
    settings().stepping = SteppingChoice::Custom;
    settings().customSeconds = seconds;
    m_view.stepping = Stepping::Ready;
    publish();
}

void Caller::choosePool(Pool pool)
{
    settings().pool = pool;
    emit poolChosen();
    // Manual stepping stays manual, also after the end of the pool: "Start"
    // would call by itself while the status row says "Manuell".
    if (settings().stepping == SteppingChoice::Manual)
        m_view.stepping = Stepping::Manual;
    else if (m_view.stepping != Stepping::Ready && m_count > 0)
        m_view.stepping = Stepping::Ready;
    // Any choice, also of the pool in force, starts a new game at once.
    newGame();
}

} // namespace kugelfon
