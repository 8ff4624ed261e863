// The caller on fake services and the actions a user has on it, in one
// language for the scenarios of test_caller and for the long random walk
// that test_caller and kugelfon-bench run.
#pragma once

#include "fakes/fakes.h"
#include "game/caller.h"

#include <algorithm>
#include <random>

namespace kugelfon::test {

enum class Act { New, Step, Bingo, Quit, Tick, Letter, Male, Female, Manual, Fixed, Pool, Slider,
                 Take, Drop, Mute };

struct CallerRig {
    FakeServices f;
    Caller caller{f.services()};
    FakeTimer &autoTimer() const { return *f.timers.timer(TimerRole::AutoStep); }
    FakeTimer &letters() const { return *f.timers.timer(TimerRole::BingoLetters); }
    int order(int i) const { return caller.order()[size_t(i)]; }

    // One word of a script:
    //   new step bingo quit   "Neues Spiel", the two buttons, "Beenden"
    //   tick letter           a tick of the automatic or of the letter timer
    //   male female manual    the voice items and "Manuell schalten"
    //   5s 10s 20s  75 90     the interval items and the pools
    //   slider:S take:S drop  the interval dialog: slider moved to S seconds,
    //                         "Wert übernehmen" at S, closed without taking
    //   mute                  the first number's recording goes missing
    // False for any other word.
    static bool parse(const QString &word, Act &act, float &arg)
    {
        static const QStringList words = {"new", "step", "bingo", "quit", "tick", "letter", "male", "female",
                                          "manual", "5s 10s 20s", "75 90", "slider", "take", "drop", "mute"};
        const QString head = word.section(':', 0, 0);
        const auto at = std::find_if(words.begin(), words.end(),
                                     [&](const QString &w) { return w.split(' ').contains(head); });
        if (head.isEmpty() || at == words.end())
            return false;
        act = Act(at - words.begin());
        arg = act == Act::Fixed ? head.chopped(1).toFloat() : act == Act::Pool ? head.toFloat() : word.section(':', 1).toFloat();
        return true;
    }

    // What a user cannot press (a disabled button or item) is left alone.
    void perform(Act act, float arg)
    {
        Caller &c = caller;
        const CallerView &v = c.view();
        switch (act) {
        case Act::New: c.newGame(); break;
        case Act::Step: if (v.gameButtonsEnabled) c.pressStep(); break;
        case Act::Bingo: if (v.gameButtonsEnabled) c.claimBingo(); break;
        case Act::Quit: c.confirmQuit(); break;
        case Act::Tick: autoTimer().tick(); break;
        case Act::Letter: letters().tick(); break;
        case Act::Male: c.chooseVoice(Voice::Male); break;
        case Act::Female: c.chooseVoice(Voice::Female); break;
        case Act::Manual: c.chooseManualStepping(); break;
        case Act::Fixed: c.chooseFixedInterval(int(arg)); break;
        case Act::Pool:
            if (v.poolChoiceEnabled)
                c.choosePool(arg == 90 ? Pool::Of90 : Pool::Of75);
            break;
        case Act::Slider: c.setInterval(arg); break;
        case Act::Take: c.takeCustomInterval(int(arg)); break;
        case Act::Drop: c.dropSliderInterval(); break;
        case Act::Mute: f.resources.missing = {numberRecording(Voice::Female, order(1))}; break;
        }
    }
};

// A long random walk from a fixed seed over every action, with answers to
// whatever box is open and ticks behind open boxes, a few levels deep. After
// each action the game must be consistent.
class CallerWalk {
public:
    explicit CallerWalk(quint32 seed) : m_rng(seed)
    {
        r.f.messages.responder = [this](const ShownBox &box) { return answer(box); };
        r.f.sound.onPlay = [this](const QByteArray &image) { heard(image); };
    }

    // Returns an empty string or the first inconsistency.
    QString run(qint64 actions)
    {
        // Steps and ticks dominate, so that games reach the end of the pool
        // and claims reach the question; the last weight is for a burst.
        std::discrete_distribution<int> dist({1, 24, 3, 1, 24, 18, 1, 1, 2, 3, 2, 3, 1, 1, 0, 2});
        for (qint64 i = 0; i < actions; ++i) {
            int act = dist(m_rng);
            if (m_burst > 0) {
                --m_burst;
                act = m_burstAct;
            } else if (act == 15) { // a run of steps or ticks, to use up pools
                m_burst = 10 + pick(80);
                act = m_burstAct = pick(2) ? int(Act::Step) : int(Act::Tick);
            }
            const int n = pick(60); // the slider's seconds, or which item
            const float arg = Act(act) == Act::Fixed ? float(5 << (n % 3)) : Act(act) == Act::Pool ? (n % 2 ? 90 : 75)
                            : Act(act) == Act::Take  ? float(++taken % 60 + 1) : float(n + 1);
            r.perform(Act(act), arg);
            // The seed replays the walk up to here.
            const QString fault = m_fault.isEmpty() ? check() : m_fault;
            if (!fault.isEmpty())
                return QStringLiteral("after action %1 (%2:%3): %4").arg(i).arg(act).arg(arg).arg(fault);
            if ((i & 1023) == 0) // the fake keeps a record of every box
                r.f.messages.shown.clear();
        }
        return {};
    }

    // How often the deep states were reached, to show the walk got there.
    int endsOfPool = 0, questions = 0, quitQuestions = 0, ticksBehindBoxes = 0, taken = 0;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    int answer(const ShownBox &box)
    {
        for (int i = m_depth < 3 ? pick(4) : 0; i > 0; --i) { // ticks that fall due while the box waits
            ++m_depth;
            ticksBehindBoxes += (pick(2) ? r.autoTimer() : r.letters()).tick();
            --m_depth;
        }
        if (box.buttons == MsgButtons::Ok)
            return ++endsOfPool, kAnswerOk;
        if (box.title == QLatin1String("Programm schliessen"))
            return ++quitQuestions, kAnswerNo; // Yes would end the program
        ++questions;
        return pick(2) ? kAnswerNo : kAnswerYes;
    }

    // What is heard is the number at the count, or "Bingo!" when it stands,
    // in the voice chosen, while the display shows it; in automatic stepping
    // only once the timer is armed again.
    void heard(const QByteArray &image)
    {
        const CallerView &v = r.caller.view();
        const bool bingo = v.display == QLatin1String("Bingo!");
        const int number = r.order(r.caller.count());
        const int want = bingo ? bingoRecording(v.settings.voice)
                               : numberRecording(v.settings.voice, number);
        const bool halted = v.stepping == Stepping::Running || v.stepping == Stepping::Halted;
        if (const int id = FakeResources::idOf(image); id != want)
            m_fault = QStringLiteral("recording %1 played, %2 due").arg(id).arg(want);
        else if (!bingo && halted && !r.autoTimer().isEnabled())
            m_fault = QStringLiteral("announced before the timer was armed again");
        else if (!bingo && v.claim.phase == ClaimPhase::None && v.display != QString::number(number))
            m_fault = QStringLiteral("%1 called while '%2' shows").arg(number).arg(v.display);
    }

    QString check() const
    {
        const CallerView &v = r.caller.view();
        const NumberOrder &order = r.caller.order();
        if (r.f.messages.open != 0)
            return QStringLiteral("a box is still open");
        const int size = poolSize(v.settings.pool), m = r.caller.count();
        const bool started = order[1] != 0;
        std::bitset<kMaxPool + 1> firstM, whole;
        for (int i = 1; i <= kMaxPool && started; ++i) {
            const int n = order[size_t(i)];
            if (i > size ? n != 0 : n < 1 || n > size || whole.test(size_t(n)))
                return QStringLiteral("order is no permutation of 1..%1 at %2").arg(size).arg(i);
            whole.set(size_t(n), i <= size);
            firstM.set(size_t(n), i <= m);
        }
        if (order[0] != 0 || (!started && order != NumberOrder{}))
            return QStringLiteral("order is no permutation");
        if (m < 0 || m > size || (!started && m != 0) || v.shownCount != m)
            return QStringLiteral("count %1, row %2, pool %3").arg(m).arg(v.shownCount).arg(size);
        // The sheet shows this game's numbers so far, or the whole ended game
        // ("Weiter" after the end of the pool plays its order again).
        if (v.marked != firstM && v.marked != whole)
            return QStringLiteral("%1 marked, %2 shown").arg(v.marked.count()).arg(m);
        const bool isNumber = m >= 1 && v.display == QString::number(order[size_t(m)]);
        const bool isLetters = v.display.size() < 6 && QStringLiteral("Bingo!").startsWith(v.display);
        if (!isNumber && !isLetters)
            return QStringLiteral("display '%1' at %2").arg(v.display).arg(m);
        const bool armed = r.letters().isEnabled() && r.letters().interval() == 20;
        const bool typing = v.claim.phase == ClaimPhase::Typing;
        if (v.claim.phase == ClaimPhase::Called || v.claim.typed < 0 || v.claim.typed > 5 || armed != typing || (!armed && r.letters().isEnabled()))
            return QStringLiteral("letter timer %1 at letter %2").arg(armed).arg(v.claim.typed);
        if (started && !v.gameButtonsEnabled)
            return QStringLiteral("step button disabled during a game");
        if (v.stepping == Stepping::Paused && r.autoTimer().isEnabled())
            return QStringLiteral("timer runs behind \"Pause\"");
        if (v.stepping == Stepping::Running && v.settings.stepping == SteppingChoice::Manual)
            return QStringLiteral("calling by itself while stepping is manual");
        return {};
    }

    CallerRig r;
    std::mt19937 m_rng;
    QString m_fault;
    int m_depth = 0;
    int m_burst = 0;
    int m_burstAct = 0;
};

} // namespace kugelfon::test
