// A long random walk over the caller's actions from a fixed seed: every
// public action, ticks of both timers, answers to whatever box is open and
// ticks behind open boxes, a few levels deep. After each action the game
// must be consistent. test_caller runs it; kugelfon-bench times it.
#pragma once

#include "fakes/fakes.h"
#include "game/caller.h"
#include "platform/soundoutput.h"

#include <random>

namespace kugelfon::test {

class CallerWalk final : public ISoundOutput {
public:
    enum Act { Step, Bingo, NewGame, Quit, ChooseVoice, Manual, Fixed, OpenDialog, Slider, Take,
               CloseDialog, ChoosePool, TickAuto, TickLetters, Burst };

    // The caller on fakes, with this walk as its sound output.
    explicit CallerWalk(quint32 seed) : m_rng(seed)
    {
        Services s = f.services();
        s.sound = *this;
        m_c = std::make_unique<Caller>(s);
        m_auto = f.timers.timer(TimerRole::AutoStep);
        m_letters = f.timers.timer(TimerRole::BingoLetters);
        f.messages.responder = [this](const ShownBox &box) { return answer(box); };
    }

    // Runs the actions; returns an empty string or the first inconsistency.
    QString run(qint64 actions)
    {
        // Steps and ticks dominate, so that games reach the end of the pool
        // and claims reach the question.
        std::discrete_distribution<int> dist({24, 3, 1, 1, 2, 2, 3, 1, 3, 1, 1, 2, 24, 18, 2});
        for (qint64 i = 0; i < actions; ++i) {
            auto act = Act(dist(m_rng));
            if (m_burst > 0) {
                --m_burst;
                act = m_burstAct;
            } else if (act == Burst) { // a run of steps or ticks, to use up pools
                m_burst = 10 + pick(80);
                m_burstAct = pick(2) ? Step : TickAuto;
            }
            const int arg = pick(60);
            perform(act, arg);
            // The seed replays the walk up to here.
            const QString fault = m_fault.isEmpty() ? check() : m_fault;
            if (!fault.isEmpty())
                return QStringLiteral("after action %1 (%2:%3): %4")
                    .arg(i).arg(act).arg(arg).arg(fault);
            if ((i & 1023) == 0) // the fake keeps a record of every box
                f.messages.shown.clear();
        }
        return {};
    }

    // What is heard must be the number at the count, or "Bingo!" when it
    // stands, in the voice chosen; in automatic stepping only once the timer
    // is armed again.
    void playWave(const QByteArray &image) override
    {
        const CallerView &v = m_c->view();
        const Voice voice = m_c->view().settings.voice;
        const bool bingo = v.display == QLatin1String("Bingo!");
        const int want = bingo ? bingoRecording(voice)
                               : numberRecording(voice, m_c->order()[size_t(m_c->count())]);
        const int id = FakeResources::idOf(image);
        if (id != want && m_fault.isEmpty())
            m_fault = QStringLiteral("recording %1 played, %2 due").arg(id).arg(want);
        if (!bingo && (v.stepping == Stepping::Running || v.stepping == Stepping::Halted) && !m_auto->isEnabled() && m_fault.isEmpty())
            m_fault = QStringLiteral("announced before the timer was armed again");
    }

    FakeServices f;
    // How often the deep states were reached, to show the walk got there.
    int endsOfPool = 0, questions = 0, quitQuestions = 0, ticksBehindBoxes = 0, taken = 0;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    int answer(const ShownBox &box)
    {
        if (m_depth < 3) { // ticks that fall due while the box waits
            ++m_depth;
            for (int i = pick(4); i > 0; --i)
                ticksBehindBoxes += (pick(2) ? m_auto : m_letters)->tick();
            --m_depth;
        }
        int &count = box.buttons == MsgButtons::Ok ? endsOfPool
            : box.title == QLatin1String("Programm schliessen") ? quitQuestions
                                                                : questions;
        ++count;
        if (&count == &quitQuestions)
            return kAnswerNo; // Yes would end the program
        return &count == &questions && pick(2) ? kAnswerNo : kAnswerYes;
    }

    // A user cannot press a disabled button nor choose a disabled item.
    void perform(Act act, int arg)
    {
        Caller &c = *m_c;
        const CallerView &v = c.view();
        switch (act) {
        case Step:
            if (v.gameButtonsEnabled)
                c.pressStep();
            break;
        case Bingo:
            if (v.gameButtonsEnabled)
                c.claimBingo();
            break;
        case NewGame: c.newGame(); break;
        case Quit: c.confirmQuit(); break;
        case ChooseVoice: c.chooseVoice(arg % 2 ? Voice::Male : Voice::Female); break;
        case Manual: c.chooseManualStepping(); break;
        case Fixed: c.chooseFixedInterval(5 << (arg % 3)); break;
        case ChoosePool:
            if (v.poolChoiceEnabled)
                c.choosePool(arg % 2 ? Pool::Of90 : Pool::Of75);
            break;
        case TickAuto: m_auto->tick(); break;
        case TickLetters: m_letters->tick(); break;
        case OpenDialog: // as the dialog does: it opens at 1
            if (!std::exchange(m_dialog, true)) {
                m_slider = 1;
                m_inForce = c.view().settings.intervalSeconds;
            }
            break;
        case Slider:
            if (m_dialog)
                c.setInterval(float(m_slider = arg + 1));
            break;
        case Take:
            if (std::exchange(m_dialog, false)) {
                ++taken;
                c.takeCustomInterval(m_slider);
            }
            break;
        case CloseDialog:
            if (std::exchange(m_dialog, false))
                c.setInterval(m_inForce);
            break;
        default: break;
        }
    }

    QString check() const
    {
        const Caller &c = *m_c;
        const CallerView &v = c.view();
        const NumberOrder &order = c.order();
        if (f.messages.open != 0)
            return QStringLiteral("a box is still open");
        const int size = poolSize(c.view().settings.pool), m = c.count();
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
        if (m < 0 || m > size || (!started && m != 0))
            return QStringLiteral("count %1 with pool %2").arg(m).arg(size);
        if (v.shownCount != m)
            return QStringLiteral("count row %1 for %2 shown").arg(v.shownCount).arg(m);
        // The sheet shows this game's numbers so far, or the whole ended game
        // ("Weiter" after the end of the pool plays its order again).
        if (v.marked != firstM && v.marked != whole)
            return QStringLiteral("%1 marked, %2 shown").arg(v.marked.count()).arg(m);
        const bool isNumber = m >= 1 && v.display == QString::number(order[size_t(m)]);
        const bool isLetters = v.display.size() < 6 && QStringLiteral("Bingo!").startsWith(v.display);
        if (!isNumber && !isLetters)
            return QStringLiteral("display '%1' at %2").arg(v.display).arg(m);
        const int letters = v.claimLetters;
        const bool armed = m_letters->isEnabled() && m_letters->interval() == 20;
        if (letters < 0 || letters > 6 || armed != (letters >= 1) || (!armed && m_letters->isEnabled()))
            return QStringLiteral("letter timer %1 at letter %2").arg(armed).arg(letters);
        if (started && !v.gameButtonsEnabled)
            return QStringLiteral("step button disabled during a game");
        if (v.stepping == Stepping::Paused && m_auto->isEnabled())
            return QStringLiteral("timer runs behind \"Pause\"");
        return {};
    }

    std::unique_ptr<Caller> m_c;
    FakeTimer *m_auto = nullptr;
    FakeTimer *m_letters = nullptr;
    std::mt19937 m_rng;
    QString m_fault;
    int m_depth = 0;
    int m_burst = 0;
    Act m_burstAct = Step;
    bool m_dialog = false;
    int m_slider = 1;
    float m_inForce = 0;
};

} // namespace kugelfon::test
