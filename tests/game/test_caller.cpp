// The caller's rules on fake services, as scenarios: what the user does,
// what the windows then show, and what was heard and asked on the way, also
// while a message box waits and timers tick behind it. Then the random walk
// of callerwalk.h, a million actions long, and the number draw.
#include "tests/game/callerwalk.h"

#include "platform/clockrandom.h"

#include <QRegularExpression>
#include <QtTest>
#include <numeric>

using namespace kugelfon;
using namespace kugelfon::test;

#ifndef KUGELFON_WALK_ACTIONS
#define KUGELFON_WALK_ACTIONS 1000000
#endif

namespace {

// The boxes by what they show: text, buttons and title.
const QHash<QString, QString> kBoxes = {
    {"Zahlenende wurde erreicht, bitte starten Sie ein neues Spiel.|OK|Kugelfon", "END"},
    {"Möchten Sie das Programm beenden?|Ja Nein|Programm schliessen", "QUIT"},
    {"Möchten Sie weiterspielen?\r\rJa    = Spiel wird fortgesetzt,\rNein = Beendet dieses Spiel,\r"
     "            und Start eines neuen Spieles.|Ja Nein|Weiterspielen?",
     "GO-ON?"}};

// A scenario: "doing" is scripts of callerwalk.h's words separated by " | ";
// the first runs at once, each next one while the next box waits, in the
// order boxes open (nested ones too). Two more words: "look" notes what is
// seen now, in [ ]; "yes" or "no" answers the box (else OK, or Yes).
// "told" is the story of what was heard and asked: "draw" for a new order,
// "say3" the third number of the game ("msay3" male, "say1-4" a run);
// "BINGO"; a box as "END{ ... }" around what happened while it waited;
// "sheet" and "exit" for the signals. (When and while what is heard is on
// show, the walk checks.)
struct Scenario : CallerRig {
    Scenario()
    {
        QObject::connect(&caller, &Caller::checkSheetWanted, [this] { note("sheet"); });
        QObject::connect(&caller, &Caller::ending, [this] { note("exit"); });
        f.messages.responder = [this](const ShownBox &box) { return answer(box); };
        f.sound.onPlay = [this](const QByteArray &image) { heard(FakeResources::idOf(image)); };
    }
    const CallerView &v() const { return caller.view(); }

    void heard(int id)
    {
        QString word = id % 10000 == 0 ? QStringLiteral("BINGO") : QStringLiteral("rec%1").arg(id);
        for (int i = 1; i <= 90 && id % 10000; ++i)
            if (id % 10000 == order(i) + 1)
                word = QStringLiteral("say%1").arg(i);
        note((id / 10000 == 2 ? "m" : "") + word);
    }
    void note(const QString &event)
    {
        for (; draws < f.random.reseeds; ++draws)
            story.append(QStringLiteral("draw"));
        static const QRegularExpression say("^(m?say)(\\d+)$"), run("^(m?say)(\\d+-)?(\\d+)$");
        const auto m = say.match(event);
        const auto last = run.match(story.value(story.size() - 1));
        if (m.hasMatch() && last.hasMatch() && last.captured(1) == m.captured(1)
            && last.captured(3).toInt() + 1 == m.captured(2).toInt())
            story.last() = m.captured(1) + (last.captured(2).isEmpty() ? last.captured(3) + '-'
                                                                      : last.captured(2)) + m.captured(2);
        else if (!event.isEmpty())
            story.append(event);
    }
    int answer(const ShownBox &box)
    {
        const QString shown = box.text + (box.buttons == MsgButtons::Ok ? "|OK|" : "|Ja Nein|") + box.title;
        note(kBoxes.value(shown, "BOX(" + shown + ')') + '{');
        int given = box.buttons == MsgButtons::Ok ? kAnswerOk : kAnswerYes;
        for (const QString &w : (scripts.isEmpty() ? QString() : scripts.takeFirst()).split(' ', Qt::SkipEmptyParts))
            w == "yes" || w == "no" ? void(given = w == "yes" ? kAnswerYes : kAnswerNo) : run(w);
        note(QStringLiteral("}"));
        return given;
    }
    void run(const QString &script)
    {
        for (const QString &word : script.split(' ', Qt::SkipEmptyParts)) {
            Act act;
            float arg;
            const QString w = word.section('*', 0, 0);
            QVERIFY2(w == "look" || parse(w, act, arg), qPrintable("unknown word " + w));
            for (int i = 0; i < word.section('*', 1).toInt() || i == 0; ++i)
                w == "look" ? note('[' + seen() + ']') : perform(act, arg);
        }
        note(QString());
    }

    // Step button (its tool tip in brackets where that differs), count row,
    // display ("#" the number at the count, "-" empty), how many numbers are
    // green, then what is off or on.
    QString seen() const
    {
        QString shown = v().display.isEmpty() ? QStringLiteral("-") : v().display;
        if (v().shownCount > 0 && v().display == QString::number(order(v().shownCount)))
            shown = QStringLiteral("#");
        static const char *const captions[] = {"Weiter", "Start", "Stop", "Stop", "Pause"};
        QString s = QString::fromLatin1(captions[int(v().stepping)]);
        const QString tip = v().poolRanOut ? "Start" : "Weiter"; // in brackets where it differs
        s += tip == s ? QString() : '(' + tip + ')';
        s += QStringLiteral(" %1 %2 g%3").arg(v().shownCount).arg(shown).arg(v().marked.count());
        s += QString(v().gameButtonsEnabled ? "" : " no-game") + (v().poolChoiceEnabled ? "" : " pools-off");
        if (autoTimer().isEnabled())
            s += QStringLiteral(" auto %1").arg(autoTimer().interval());
        if (letters().isEnabled())
            s += QStringLiteral(" letters %1").arg(letters().interval());
        return s;
    }
    QStringList story;
    QStringList scripts;
    int draws = 0;
};

double chiSquare(const std::vector<int> &counts, double expected)
{
    return std::accumulate(counts.begin(), counts.end(), 0.0,
                           [=](double chi, int c) { return chi + (c - expected) * (c - expected) / expected; });
}

} // namespace

class TestCaller : public QObject {
    Q_OBJECT
private slots:
    void scenario_data()
    {
        QTest::addColumn<QString>("doing");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QString>("told");
        const auto row = [](const char *name, const char *doing, const char *seen, const char *told) {
            QTest::newRow(name) << doing << seen << told;
        };
        // Manual stepping and the end of the pool.
        row("start", "letter tick", "Weiter 0 - g0 no-game", "");
        row("75, end of pool, Start", "new step*75 look step look step*2", "Weiter 2 # g2", "draw say1-75 [Weiter 75 # g75] END{ } [Start 0 - g75] draw say1-2");
        row("90 male, end of pool", "male 90 step*91", "Start 0 - g90", "draw msay1-90 END{ }");
        row("manual after the end replays", "new step*76 manual step", "Weiter(Start) 1 # g75", "draw say1-75 END{ } say1");
        row("new game mid-game", "new step*12 new look step", "Weiter 1 # g1", "draw say1-12 draw [Weiter 0 - g0] say1");
        row("missing recording is silence", "new mute step*2", "Weiter 2 # g2", "draw say2");
        row("voice between steps", "new step male step female step", "Weiter 3 # g3", "draw say1 msay2 say3");
        row("pool switch", "new step*3 90 look step*2", "Weiter 2 # g2", "draw say1-3 draw [Weiter 0 - g0] say1-2");
        row("pool switch, manual after a pause", "new 5s step tick step manual 90 look step", "Weiter 1 # g1", "draw draw say1 draw [Weiter 0 - g0] say1");
        row("new game, 75 again", "new look 75", "Weiter 0 - g0", "draw [Weiter 0 - g0] draw");
        row("75 again while paused", "new 10s step tick*2 step 75", "Start(Weiter) 0 - g0", "draw draw say1-2 draw");
        // "Start" with no usable interval steps manually.
        row("rounds to 0 ms", "slider:0.0004 new step*76 step", "Weiter 1 # g1", "draw say1-75 END{ } draw say1");
        row("0 s while running", "new 5s step tick slider:0 tick", "Weiter 2 # g2", "draw draw say1-2");
        row("5 s chosen earlier", "5s manual new step*76 step", "Weiter 1 # g1", "draw say1-75 END{ } draw say1");
        // Automatic stepping: idle, started, running, paused, resumed, paused again.
        row("automatic", "new 10s look step look tick*2 look step tick look step look tick step tick", "Pause(Weiter) 3 - g3", "draw [Start(Weiter) 0 - g0] [Stop(Weiter) 0 - g0 pools-off auto 10000] draw say1-2 [Stop(Weiter) 2 # g2 pools-off auto 10000] [Pause(Weiter) 2 - g2] [Stop(Weiter) 2 - g2 pools-off auto 10000] say3");
        row("75 at 5 s, end of pool", "5s 75 step tick*75 look tick*2 | look", "Start 0 - g75", "draw draw say1-75 [Stop(Weiter) 75 # g75 pools-off auto 5000] END{ [Stop(Weiter) 75 - g75 pools-off] }");
        row("90 at 20 s, male, end and Start", "male 90 20s step tick*91 step tick", "Stop(Start) 1 # g1 pools-off auto 20000", "draw draw msay1-90 END{ } draw msay1");
        row("new game while running", "new 5s step tick*2 new look tick", "Stop(Weiter) 1 # g1 pools-off auto 5000", "draw draw say1-2 draw [Stop(Weiter) 0 - g0 auto 5000] draw say1");
        row("new game while paused", "new 5s step tick*2 step new tick", "Pause(Weiter) 0 - g0", "draw draw say1-2 draw");
        row("voice while running", "new 5s step tick male tick female tick", "Stop(Weiter) 3 # g3 pools-off auto 5000", "draw draw say1 msay2 say3");
        // Settings while running take effect at the next tick.
        row("5 s, 10 s, 20 s, 5 s, slider at 7", "new 5s step tick 10s look tick 20s tick 5s look tick slider:7 look tick", "Stop(Weiter) 5 # g5 pools-off auto 7000", "draw draw say1 [Start(Weiter) 1 # g1 pools-off auto 5000] say2-3 [Start(Weiter) 3 # g3 pools-off auto 20000] say4 [Stop(Weiter) 4 # g4 pools-off auto 5000] say5");
        row("manual while running", "new 5s step tick*2 manual look tick look tick step", "Weiter 4 # g4 pools-off", "draw draw say1-2 [Weiter 2 # g2 pools-off auto 5000] say3 [Weiter 3 # g3 pools-off] say4");
        row("taken 1 s, 60 s", "new take:1 step look step take:60 step", "Stop(Weiter) 0 - g0 pools-off auto 60000", "draw [Stop(Weiter) 0 - g0 pools-off auto 1000]");
        row("tick behind a manual end", "new 5s step tick manual step*75 | tick", "Start 0 - g75", "draw draw say1-75 END{ END{ } }");
        // The quit question: ticks go on behind it; Yes ends and silences.
        row("quit, ticks behind, No", "new 5s step tick*2 quit tick | tick*3 no", "Stop(Weiter) 6 # g6 pools-off auto 5000", "draw draw say1-2 QUIT{ say3-5 } say6");
        row("quit, ticks behind, Yes", "new 5s step tick*2 quit tick | tick*2 yes", "Stop(Weiter) 4 # g4 pools-off", "draw draw say1-2 QUIT{ say3-4 } exit");
        row("quit while typing, Yes", "new step bingo letter quit letter*5", "Weiter 1 B g1", "draw say1 QUIT{ } exit");
        // The "Bingo!" claim.
        row("claim, Ja", "new step*4 bingo look letter*4 look letter look letter step | look yes", "Weiter 5 # g5", "draw say1-4 [Weiter 4 - g4 letters 20] [Weiter 4 Bing g4 letters 20] sheet [Weiter 4 Bingo g4 letters 20] BINGO GO-ON?{ [Weiter 4 Bingo! g4] } say5");
        row("claim, Nein", "new step*4 bingo letter*6 step | no", "Weiter 1 # g1", "draw say1-4 sheet BINGO GO-ON?{ } draw say1");
        row("male claim", "male new step bingo letter*6", "Weiter 1 - g1", "draw msay1 sheet mBINGO GO-ON?{ }");
        row("claim before a number", "new bingo letter*6", "Weiter 0 - g0", "draw sheet BINGO GO-ON?{ }");
        row("automatic claim, Stop, Ja", "new 5s step tick*3 bingo letter tick look step look tick letter*5 | tick letter look yes", "Start(Weiter) 4 - g4", "draw draw say1-3 [Stop(Weiter) 3 B g3 letters 20] say3 [Stop(Weiter) 3 B g3 pools-off auto 5000 letters 20] say4 sheet BINGO GO-ON?{ [Stop(Weiter) 4 Bingo! g4] }");
        row("automatic claim, Ja, Start", "new 5s step tick*3 bingo letter*6 look step tick | look", "Stop(Weiter) 4 # g4 pools-off auto 5000", "draw draw say1-3 sheet BINGO GO-ON?{ [Stop(Weiter) 3 Bingo! g3] } [Start(Weiter) 3 - g3] say4");
        row("automatic claim, Nein, Start", "male new 5s step tick*3 bingo letter*6 step tick | no", "Stop(Weiter) 1 # g1 pools-off auto 5000", "draw draw msay1-3 sheet mBINGO GO-ON?{ } draw draw msay1");
        row("second press while typing", "new step*2 bingo letter*2 bingo look letter*3", "Weiter 2 Bingo g2 letters 20", "draw say1-2 [Weiter 2 Bi g2 letters 20] sheet");
        row("second press at Bingo", "new step*2 bingo letter*5 bingo letter", "Weiter 2 - g2", "draw say1-2 sheet sheet BINGO GO-ON?{ }");
        row("press right away", "new step*2 bingo bingo letter*6", "Weiter 2 - g2", "draw say1-2 sheet BINGO GO-ON?{ }");
        row("claim behind the end, Ja", "new 5s step tick*75 bingo step tick | letter*6", "Start 0 - g75", "draw draw say1-75 END{ sheet BINGO GO-ON?{ } }");
        row("claim behind the end, Nein", "new 5s step tick*75 bingo step tick step tick | letter*6 | no", "Stop(Start) 1 # g1 pools-off auto 5000", "draw draw say1-75 END{ sheet BINGO GO-ON?{ } draw } draw say1");
        row("claim behind quit", "new step*3 bingo letter*2 quit step | letter*4 no", "Weiter 4 # g4", "draw say1-3 QUIT{ sheet BINGO GO-ON?{ } } say4");
    }
    void scenario()
    {
        QFETCH(QString, doing);
        QFETCH(QString, seen);
        QFETCH(QString, told);
        Scenario s;
        s.scripts = doing.split(QStringLiteral(" | "));
        s.run(s.scripts.takeFirst());
        // Word by word, what is seen and then the story: a failure names the first word that differs.
        const QStringList is = (s.seen() + " | " + s.story.join(' ')).split(' '), want = (seen + " | " + told).split(' ');
        QCOMPARE(is.mid(0, want.size()), want.mid(0, is.size()));
        QCOMPARE(is.size(), want.size());
        QVERIFY(s.scripts.isEmpty());
    }

    // The walk of callerwalk.h; the deep states it is meant to reach must come.
    void walk()
    {
        CallerWalk walk(20260);
        const QString fault = walk.run(KUGELFON_WALK_ACTIONS);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QVERIFY(walk.endsOfPool > 0 && walk.questions > 0 && walk.quitQuestions > 0);
        QVERIFY(walk.ticksBehindBoxes > 0 && walk.taken > 0);
    }

    // Every order the walk draws is checked there; a generator outside [0, 1)
    // must not corrupt one, and orders drawn in the same clock tick differ.
    // The first number and the generator are uniform: chi-square from fixed
    // seeds (1% bounds: 74 degrees ~ 106, 99 degrees ~ 135).
    void draw()
    {
        FakeRandom random;
        random.queued = {1.0, -0.5, 0.999999999, 0.0};
        NumberOrder order, pool{}; // 0 to 75, then 0
        drawOrder(random, 75, order);
        std::iota(pool.begin(), pool.begin() + 76, 0);
        QVERIFY(std::is_permutation(order.begin(), order.end(), pool.begin()));
        QCOMPARE(QList<int>({order[0], order[1], order[2]}), QList<int>({0, 75, 1}));
        ClockRandom clock, a(1), b(1); // a and b: the same clock value twice, new numbers, repeatably
        QSet<QByteArray> seen;
        for (int i = 0; i < 200; ++i) {
            drawOrder(clock, 75, order);
            seen.insert(QByteArray(reinterpret_cast<const char *>(order.data()), sizeof(order)));
        }
        QCOMPARE(seen.size(), 200);
        a.mix(12345), b.mix(12345);
        const double first = a.next();
        QCOMPARE(b.next(), first);
        a.mix(12345);
        QVERIFY(a.next() != first);
        std::vector<int> counts(75), buckets(100);
        for (int g = 0; g < 15000; ++g, ++counts[size_t(order[1] - 1)])
            drawOrder(random, 75, order);
        QVERIFY2(chiSquare(counts, 15000 / 75.0) < 106, "first numbers not uniform");
        for (int i = 0; i < 200000; ++i) {
            const double r = a.next();
            QVERIFY(r >= 0.0 && r < 1.0);
            ++buckets[size_t(r * 100)];
        }
        QVERIFY2(chiSquare(buckets, 2000) < 135, "generator not uniform");
    }
};

QTEST_GUILESS_MAIN(TestCaller)
#include "test_caller.moc"
