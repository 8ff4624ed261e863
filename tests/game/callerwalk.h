// A long random walk over the caller's actions from a fixed seed: every
// public action, ticks of both timers, answers to whatever box is open and
// ticks behind open boxes, a few levels deep. After each action the game
// must be consistent. The tests run it on the caller alone and through the
// main window; kugelfon-bench times it.
#pragma once

#include "fakes/fakes.h"
#include "game/caller.h"

#include <QStringList>
#include <array>
#include <functional>
#include <random>

namespace kugelfon::test {

enum class WalkAct {
    Step, Bingo, NewGame, Quit, Voice, Manual, Fixed, OpenDialog, Slider, Take, CloseDialog,
    Pool, TickAuto, TickLetters, Burst, Sheet, SheetBack, Other, Count
};

// Relative frequencies: steps and ticks dominate, so that games reach the
// end of the pool and claims reach the question.
inline constexpr int kWalkWeights[int(WalkAct::Count)] = {24, 3, 1, 1, 2, 2, 3, 1, 3,
                                                           1,  1, 2, 24, 18, 2, 2, 1, 1};

// The caller alone on fakes, with the given sound output.
struct CallerOnFakes {
    explicit CallerOnFakes(ISoundOutput &sound)
    {
        settings.screen.heightPx = 1024;
        Services s = f.services();
        s.sound = &sound;
        caller = std::make_unique<Caller>(settings, s);
    }
    FakeServices f;
    Settings settings;
    std::unique_ptr<Caller> caller;
};

class CallerWalk final : public ISoundOutput {
public:
    explicit CallerWalk(quint32 seed)
        : m_rng(seed), m_dist(std::begin(kWalkWeights), std::end(kWalkWeights))
    {
    }

    // Once the caller exists; its sound output must be this walk.
    void attach(Caller &caller, FakeServices &f)
    {
        m_c = &caller;
        m_f = &f;
        m_auto = f.timers.timer(QStringLiteral("AutoTimer"));
        m_letters = f.timers.timer(QStringLiteral("ZeitUni"));
        f.messages.responder = [this](const ShownBox &box) { return answer(box); };
    }

    // Does one action with an argument of 0..59; the window walk puts its
    // widgets in here.
    std::function<void(WalkAct, int)> perform = [this](WalkAct a, int arg) { onCaller(a, arg); };
    // Further checks after each action: an empty string, or what is wrong.
    std::function<QString()> alsoCheck;

    // Runs the actions; returns an empty string or the first inconsistency.
    QString run(qint64 actions)
    {
        for (qint64 i = 0; i < actions; ++i) {
            auto act = WalkAct(m_dist(m_rng));
            if (m_burst > 0) {
                --m_burst;
                act = m_burstAct;
            } else if (act == WalkAct::Burst) { // a run of steps or ticks, to use up pools
                m_burst = 10 + pick(80);
                m_burstAct = pick(2) ? WalkAct::Step : WalkAct::TickAuto;
            }
            const int arg = pick(60);
            perform(act, arg);
            m_history[size_t(i % m_history.size())] = {int(act), arg};
            QString fault = m_fault.isEmpty() ? check() : m_fault;
            if (fault.isEmpty() && alsoCheck)
                fault = alsoCheck();
            if (!fault.isEmpty()) {
                QStringList last;
                for (qint64 j = std::max<qint64>(0, i - 15); j <= i; ++j)
                    last.append(QStringLiteral("%1:%2").arg(m_history[size_t(j % 16)].first)
                                    .arg(m_history[size_t(j % 16)].second));
                return QStringLiteral("after action %1: %2; last actions (act:arg): %3")
                    .arg(i).arg(fault, last.join(QStringLiteral(", ")));
            }
            if ((i & 1023) == 0) { // the fakes keep a record of everything
                m_f->resources.requested.clear();
                m_f->messages.shown.clear();
            }
        }
        return {};
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    // What is heard must be the number at the count, or "Bingo!" when it
    // stands, in the voice chosen; in automatic stepping only once the timer
    // is armed again.
    void playWave(const QByteArray &image) override
    {
        ++announced;
        const CallerView &v = m_c->view();
        const Voice voice = m_c->settings().voice;
        const bool bingo = v.display == QLatin1String("Bingo!");
        const int want = bingo ? bingoRecording(voice)
                               : numberRecording(voice, m_c->order()[size_t(m_c->count())]);
        const int id = FakeResources::idOf(image);
        if (id != want && m_fault.isEmpty())
            m_fault = QStringLiteral("recording %1 played, %2 due").arg(id).arg(want);
        if (!bingo && v.stepButton == StepButton::Stop && !m_auto->isEnabled() && m_fault.isEmpty())
            m_fault = QStringLiteral("announced before the timer was armed again");
    }

    // How often the deep states were reached, to show the walk got there.
    int endsOfPool = 0, questions = 0, quitQuestions = 0, ticksBehindBoxes = 0, taken = 0;
    qint64 announced = 0;

private:
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
    void onCaller(WalkAct act, int arg)
    {
        Caller &c = *m_c;
        const CallerView &v = c.view();
        switch (act) {
        case WalkAct::Step:
            if (v.gameButtonsEnabled)
                c.pressStep();
            break;
        case WalkAct::Bingo:
            if (v.gameButtonsEnabled)
                c.claimBingo();
            break;
        case WalkAct::NewGame: c.newGame(); break;
        case WalkAct::Quit: c.confirmQuit(); break;
        case WalkAct::Voice: c.chooseVoice(arg % 2 ? Voice::Male : Voice::Female); break;
        case WalkAct::Manual: c.chooseManualStepping(); break;
        case WalkAct::Fixed: c.chooseFixedInterval(5 << (arg % 3)); break;
        case WalkAct::Pool:
            if (v.poolChoiceEnabled)
                c.choosePool(arg % 2 ? Pool::Of90 : Pool::Of75);
            break;
        case WalkAct::TickAuto: m_auto->tick(); break;
        case WalkAct::TickLetters: m_letters->tick(); break;
        case WalkAct::OpenDialog: // as the dialog does: it opens at 1
            if (!std::exchange(m_dialog, true)) {
                m_slider = 1;
                m_inForce = c.settings().intervalSeconds;
            }
            break;
        case WalkAct::Slider:
            if (m_dialog)
                c.setInterval(float(m_slider = arg + 1));
            break;
        case WalkAct::Take:
            if (std::exchange(m_dialog, false)) {
                ++taken;
                c.takeCustomInterval(m_slider);
            }
            break;
        case WalkAct::CloseDialog:
            if (std::exchange(m_dialog, false))
                c.setInterval(m_inForce);
            break;
        default: break; // windows the caller does not know
        }
    }

    QString check() const
    {
        const Caller &c = *m_c;
        const CallerView &v = c.view();
        const NumberOrder &order = c.order();
        if (m_f->messages.open != 0)
            return QStringLiteral("a box is still open");
        const int size = poolSize(c.settings().pool), m = c.count();
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
        const int letters = c.bingoLetters();
        const bool armed = m_letters->isEnabled() && m_letters->interval() == 20;
        if (letters < 0 || letters > 6 || armed != (letters >= 1) || (!armed && m_letters->isEnabled()))
            return QStringLiteral("letter timer %1 at letter %2").arg(armed).arg(letters);
        if (started && !v.gameButtonsEnabled)
            return QStringLiteral("step button disabled during a game");
        if (v.stepButton == StepButton::Pause && m_auto->isEnabled())
            return QStringLiteral("timer runs behind \"Pause\"");
        return {};
    }

    Caller *m_c = nullptr;
    FakeServices *m_f = nullptr;
    FakeTimer *m_auto = nullptr;
    FakeTimer *m_letters = nullptr;
    std::mt19937 m_rng;
    std::discrete_distribution<int> m_dist;
    std::array<std::pair<int, int>, 16> m_history{};
    QString m_fault;
    int m_depth = 0;
    int m_burst = 0;
    WalkAct m_burstAct = WalkAct::Step;
    bool m_dialog = false;
    int m_slider = 1;
    float m_inForce = 0;
};

} // namespace kugelfon::test
