// The caller's rules on fake services, as scenarios: what the user does,
// what the main window and the check sheet then show, and what was heard and
// asked on the way, also while a message box waits and timers tick behind it.
#include "fakes/fakes.h"
#include "game/caller.h"

#include <QRegularExpression>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

struct Box {
    const char *name;
    QString text;
    MsgButtons buttons;
    QString title;
};
const Box kBoxes[] = {
    {"END", QStringLiteral("Zahlenende wurde erreicht, bitte starten Sie ein neues Spiel."),
     MsgButtons::Ok, QStringLiteral("Kugelfon")},
    {"QUIT", QStringLiteral("Möchten Sie das Programm beenden?"), MsgButtons::YesNo,
     QStringLiteral("Programm schliessen")},
    {"GO-ON?",
     QStringLiteral("Möchten Sie weiterspielen?\r\rJa    = Spiel wird fortgesetzt,\r"
                    "Nein = Beendet dieses Spiel,\r            und Start eines neuen Spieles."),
     MsgButtons::YesNo, QStringLiteral("Weiterspielen?")}};

QString caption(StepButton b)
{
    static const char *const names[] = {"Weiter", "Start", "Stop", "Pause"};
    return QString::fromLatin1(names[int(b)]);
}

// Splits at blanks outside braces.
QStringList words(const QString &script)
{
    QStringList out{QString()};
    int depth = 0;
    for (QChar ch : script) {
        depth += ch == QLatin1Char('{') ? 1 : ch == QLatin1Char('}') ? -1 : 0;
        if (ch == QLatin1Char(' ') && depth == 0)
            out.append(QString());
        else
            out.last().append(ch);
    }
    out.removeAll(QString());
    return out;
}

// The caller on fakes, driven by words. It is its own sound output and
// answers the boxes itself, so that everything heard and asked goes into one
// story in order.
struct Game final : ISoundOutput {
    explicit Game(int screenHeight = 1024)
    {
        settings.screen.heightPx = screenHeight;
        Services s = f.services();
        s.sound = this;
        c = std::make_unique<Caller>(settings, s);
        QObject::connect(c.get(), &Caller::checkSheetWanted, [this] { note("sheet"); });
        QObject::connect(c.get(), &Caller::ending, [this] { note("exit"); });
        f.messages.responder = [this](const ShownBox &box) { return answer(box); };
    }
    const CallerView &v() const { return c->view(); }
    FakeTimer &autoT() const { return *f.timers.timer(QStringLiteral("AutoTimer")); }
    FakeTimer &letters() const { return *f.timers.timer(QStringLiteral("ZeitUni")); }
    int order(int i) const { return c->order()[size_t(i)]; }

    // Numbers are told by their place in the order: "say3" is the third
    // number of this game, "msay3" in the male voice. A "!" marks a number
    // announced in automatic stepping before the timer was armed again, a "?"
    // one announced while the window did not show it (letters of a claim may).
    void playWave(const QByteArray &image) override
    {
        const int id = FakeResources::idOf(image);
        QString heard = QStringLiteral("rec%1").arg(id);
        bool onShow = v().display == QLatin1String("Bingo!");
        if (id % 10000 == 0)
            heard = QStringLiteral("BINGO");
        for (int i = 1; i <= 90 && id % 10000; ++i) {
            if (id % 10000 == order(i) + 1) {
                heard = QStringLiteral("say%1").arg(i);
                onShow = i == v().shownCount
                    && (v().display == QString::number(order(i))
                        || (!v().display.isEmpty() && QStringLiteral("Bingo").startsWith(v().display)));
                if (v().stepButton == StepButton::Stop && !autoT().isEnabled())
                    heard += QLatin1Char('!');
            }
        }
        if (id / 10000 == 2)
            heard.prepend(QLatin1Char('m'));
        note(onShow ? heard : heard + QLatin1Char('?'));
    }
    void note(const QString &event)
    {
        for (; draws < f.random.reseeds; ++draws)
            story.append(QStringLiteral("draw"));
        story.append(event);
    }
    // A box notes its name, runs the next script of the queue while it waits
    // and answers as the script says (yes, no; OK by default, Yes for a question).
    int answer(const ShownBox &box)
    {
        QString name = QStringLiteral("BOX(%1|%2)").arg(box.text, box.title);
        for (const Box &known : kBoxes)
            if (box.text == known.text && box.buttons == known.buttons && box.title == known.title)
                name = QString::fromLatin1(known.name);
        note(name + QLatin1Char('{'));
        int given = box.buttons == MsgButtons::Ok ? kAnswerOk : kAnswerYes;
        for (const QString &w : words(scripts.isEmpty() ? QString() : scripts.takeFirst())) {
            if (w == QLatin1String("yes") || w == QLatin1String("no"))
                given = w == QLatin1String("yes") ? kAnswerYes : kAnswerNo;
            else
                run(w);
        }
        note(QStringLiteral("}"));
        return given;
    }
    // Words: new, step, bingo, tick (the automatic timer), letter (the
    // letter timer), quit, male, female, manual, 5s/10s/20s, 75/90 (pools),
    // slider:S (the dialog's slider), take:S (its "Wert übernehmen"), mute
    // (the first number's recording goes missing), look (notes what is seen
    // now). "*N" repeats a word; "{...}" after it
    // is what the next box does while it waits, one group per box.
    void run(const QString &script)
    {
        for (const QString &word : words(script)) {
            QString head;
            int depth = 0;
            for (QChar ch : word) { // the groups in braces, each for a box
                if (ch == QLatin1Char('}') && --depth == 0)
                    continue;
                if (depth > 0)
                    scripts.last().append(ch);
                else if (ch != QLatin1Char('{'))
                    head.append(ch);
                if (ch == QLatin1Char('{') && depth++ == 0)
                    scripts.append(QString());
            }
            const QStringList parts = head.split(QLatin1Char('*'));
            for (int i = 0; i < parts.value(1, QStringLiteral("1")).toInt(); ++i)
                act(parts[0]);
        }
        note(QString());
        story.removeAll(QString());
    }
    void act(const QString &w)
    {
        const QString arg = w.section(QLatin1Char(':'), 1);
        if (w == QLatin1String("new")) c->newGame();
        else if (w == QLatin1String("step")) c->pressStep();
        else if (w == QLatin1String("bingo")) c->claimBingo();
        else if (w == QLatin1String("tick")) autoT().tick();
        else if (w == QLatin1String("letter")) letters().tick();
        else if (w == QLatin1String("quit")) c->confirmQuit();
        else if (w == QLatin1String("male") || w == QLatin1String("female"))
            c->chooseVoice(w == QLatin1String("male") ? Voice::Male : Voice::Female);
        else if (w == QLatin1String("manual")) c->chooseManualStepping();
        else if (w.endsWith(QLatin1Char('s'))) c->chooseFixedInterval(w.chopped(1).toInt());
        else if (w == QLatin1String("75") || w == QLatin1String("90"))
            c->choosePool(w == QLatin1String("90") ? Pool::Of90 : Pool::Of75);
        else if (w.startsWith(QLatin1String("slider:"))) c->setInterval(arg.toFloat());
        else if (w.startsWith(QLatin1String("take:"))) c->takeCustomInterval(arg.toInt());
        else if (w == QLatin1String("mute")) f.resources.missing = {10000 + order(1) + 1};
        else if (w == QLatin1String("look")) note(QLatin1Char('[') + seen() + QLatin1Char(']'));
        else QFAIL(qPrintable(QStringLiteral("unknown word ") + w));
    }

    // Step button (with its tool tip where that differs), count row, display
    // ("#" the number at the count, "-" empty), how many numbers are green
    // ("g?" when they are not the first of the order), then what is off or on.
    QString seen() const
    {
        QString shown = v().display.isEmpty() ? QStringLiteral("-") : v().display;
        if (v().shownCount > 0 && v().display == QString::number(order(v().shownCount)))
            shown = QStringLiteral("#");
        QString s = caption(v().stepButton);
        if (v().stepToolTip != v().stepButton)
            s += QLatin1Char('(') + caption(v().stepToolTip) + QLatin1Char(')');
        const int green = int(v().marked.count());
        std::bitset<kMaxPool + 1> first;
        for (int i = 1; i <= green; ++i)
            first.set(size_t(order(i)));
        s += QStringLiteral(" %1 %2 g%3%4").arg(v().shownCount).arg(shown)
                 .arg(first == v().marked ? QString() : QStringLiteral("?")).arg(green);
        if (!v().gameButtonsEnabled)
            s += QStringLiteral(" no-game");
        if (!v().poolChoiceEnabled)
            s += QStringLiteral(" pools-off");
        if (autoT().isEnabled())
            s += QStringLiteral(" auto %1").arg(autoT().interval());
        if (letters().isEnabled())
            s += QStringLiteral(" letters %1").arg(letters().interval());
        return s;
    }
    // The story, with runs of numbers in order joined: "say1-75".
    QString told() const
    {
        static const QRegularExpression say(QStringLiteral("^(m?say)(\\d+)$"));
        QStringList out;
        QString prefix;
        int from = 0, to = -1;
        const auto flush = [&] {
            if (to >= 0)
                out.append(prefix + QString::number(from)
                           + (to > from ? "-" + QString::number(to) : QString()));
            to = -1;
        };
        for (const QString &e : story) {
            const auto m = say.match(e);
            if (m.hasMatch() && m.captured(1) == prefix && m.captured(2).toInt() == to + 1) {
                to = m.captured(2).toInt();
                continue;
            }
            flush();
            if (m.hasMatch()) {
                prefix = m.captured(1);
                from = to = m.captured(2).toInt();
            } else {
                out.append(e);
            }
        }
        flush();
        return out.join(QLatin1Char(' '));
    }
    FakeServices f;
    Settings settings;
    std::unique_ptr<Caller> c;
    QStringList story;
    QStringList scripts;
    int draws = 0;
};

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
        row("new game", "new", "Weiter 0 - g0", "draw");
        row("75, two steps", "new step*2", "Weiter 2 # g2", "draw say1-2");
        row("75, whole game", "new step*75", "Weiter 75 # g75", "draw say1-75");
        row("75, end of pool", "new step*76", "Start 0 - g75", "draw say1-75 END{ }");
        row("90 male, end of pool", "male 90 step*91", "Start 0 - g90", "draw msay1-90 END{ }");
        row("manual after the end replays", "new step*76 manual step", "Weiter(Start) 1 # g75",
            "draw say1-75 END{ } say1");
        row("new game mid-game", "new step*12 new", "Weiter 0 - g0", "draw say1-12 draw");
        row("and on", "new step*12 new step", "Weiter 1 # g1", "draw say1-12 draw say1");
        row("missing recording is silence", "new mute step*2", "Weiter 2 # g2", "draw say2");
        row("voice between steps", "new step male step female step", "Weiter 3 # g3",
            "draw say1 msay2 say3");
        // "Start" with no usable interval steps manually.
        row("end of pool, Start", "new step*76 step*2", "Weiter 2 # g2", "draw say1-75 END{ } draw say1-2");
        row("90, end of pool, Start", "90 step*91 step", "Weiter 1 # g1", "draw say1-90 END{ } draw say1");
        row("pool switch after numbers", "new step*3 90", "Start(Weiter) 0 - g0", "draw say1-3 draw");
        row("pool switch, Start", "new step*3 90 step*2", "Weiter 2 # g2", "draw say1-3 draw draw say1-2");
        row("75 again after numbers, Start", "new step*3 75 step", "Weiter 1 # g1", "draw say1-3 draw draw say1");
        row("75 again, none shown", "new 75", "Weiter 0 - g0", "draw draw");
        row("75 again while paused", "new 10s step tick*2 step 75", "Start(Weiter) 0 - g0", "draw draw say1-2 draw");
        row("rounds to 0 ms", "slider:0.0004 new step*76 step", "Weiter 1 # g1", "draw say1-75 END{ } draw say1");
        row("5 s chosen earlier", "5s manual new step*76 step", "Stop(Start) 0 - g75 pools-off auto 5000",
            "draw say1-75 END{ }");
        // Automatic stepping: idle, running, paused, resumed.
        row("idle", "new 10s", "Start(Weiter) 0 - g0", "draw");
        row("started", "new 10s step", "Stop(Weiter) 0 - g0 pools-off auto 10000", "draw");
        row("running", "new 10s step tick*2", "Stop(Weiter) 2 # g2 pools-off auto 10000", "draw draw say1-2");
        row("paused", "new 10s step tick*2 step tick", "Pause(Weiter) 2 - g2", "draw draw say1-2");
        row("resumed", "new 10s step tick*2 step*2", "Stop(Weiter) 2 - g2 pools-off auto 10000", "draw draw say1-2");
        row("resumed, tick", "new 10s step tick*2 step*2 tick", "Stop(Weiter) 3 # g3 pools-off auto 10000",
            "draw draw say1-3");
        row("paused again", "new 10s step tick*2 step*3 tick", "Pause(Weiter) 2 - g2", "draw draw say1-2");
        row("75 at 5 s", "5s 75 step tick*75", "Stop(Weiter) 75 # g75 pools-off auto 5000", "draw draw say1-75");
        row("75 at 5 s, end of pool", "5s 75 step tick*76{look} tick", "Start 0 - g75",
            "draw draw say1-75 END{ [Stop(Weiter) 75 - g75 pools-off] }");
        row("90 at 20 s, male, end and Start", "male 90 20s step tick*91 step tick",
            "Stop(Start) 1 # g1 pools-off auto 20000", "draw draw msay1-90 END{ } draw msay1");
        row("new game while running", "new 5s step tick*2 new", "Stop(Weiter) 0 - g0 auto 5000", "draw draw say1-2 draw");
        row("its next tick draws again", "new 5s step tick*2 new tick", "Stop(Weiter) 1 # g1 pools-off auto 5000",
            "draw draw say1-2 draw draw say1");
        row("new game while paused", "new 5s step tick*2 step new tick", "Pause(Weiter) 0 - g0",
            "draw draw say1-2 draw");
        row("voice while running", "new 5s step tick male tick female tick",
            "Stop(Weiter) 3 # g3 pools-off auto 5000", "draw draw say1 msay2 say3");
        // Settings while running take effect at the next tick.
        row("10 s while at 5 s", "new 5s step tick 10s", "Start(Weiter) 1 # g1 pools-off auto 5000", "draw draw say1");
        row("next tick at 10 s", "new 5s step tick 10s tick", "Stop(Weiter) 2 # g2 pools-off auto 10000",
            "draw draw say1-2");
        row("20 s to 5 s", "new 20s step tick 5s tick", "Stop(Weiter) 2 # g2 pools-off auto 5000", "draw draw say1-2");
        row("slider at 7 while at 5 s", "new 5s step tick slider:7", "Stop(Weiter) 1 # g1 pools-off auto 5000",
            "draw draw say1");
        row("next tick at 7 s", "new 5s step tick slider:7 tick", "Stop(Weiter) 2 # g2 pools-off auto 7000",
            "draw draw say1-2");
        row("manual while running", "new 5s step tick*2 manual", "Weiter 2 # g2 pools-off auto 5000", "draw draw say1-2");
        row("its tick and a manual step", "new 5s step tick*2 manual tick", "Weiter 4 # g4 pools-off",
            "draw draw say1-2 say4");
        row("then manual", "new 5s step tick*2 manual tick tick step", "Weiter 5 # g5 pools-off",
            "draw draw say1-2 say4-5");
        row("taken 1 s", "new take:1 step", "Stop(Weiter) 0 - g0 pools-off auto 1000", "draw");
        row("taken 7 s", "new take:7 step", "Stop(Weiter) 0 - g0 pools-off auto 7000", "draw");
        row("taken 20 s", "new take:20 step", "Stop(Weiter) 0 - g0 pools-off auto 20000", "draw");
        row("taken 60 s", "new take:60 step", "Stop(Weiter) 0 - g0 pools-off auto 60000", "draw");
        // The tick behind a manual end of pool, after "Manuell schalten".
        row("tick behind a manual end", "new 5s step tick manual step*74 step{tick}", "Start 0 - g75",
            "draw draw say1-75 END{ END{ } }");
        // The quit question: ticks go on behind it; Yes ends and silences.
        row("quit, No", "new 5s step tick*2 quit{no} tick", "Stop(Weiter) 3 # g3 pools-off auto 5000",
            "draw draw say1-2 QUIT{ } say3");
        row("quit, ticks behind, No", "new 5s step tick*2 quit{tick*3 no}", "Stop(Weiter) 5 # g5 pools-off auto 5000",
            "draw draw say1-2 QUIT{ say3-5 }");
        row("quit, ticks behind, Yes", "new 5s step tick*2 quit{tick*2 yes} tick", "Stop(Weiter) 4 # g4 pools-off",
            "draw draw say1-2 QUIT{ say3-4 } exit");
        row("quit while typing, Yes", "new step bingo letter quit letter*5", "Weiter 1 B g1",
            "draw say1 QUIT{ } exit");
        // The "Bingo!" claim.
        row("claim", "new step*4 bingo", "Weiter 4 - g4 letters 20", "draw say1-4");
        row("claim typed", "new step*4 bingo letter*4", "Weiter 4 Bing g4 letters 20", "draw say1-4");
        row("claim at Bingo", "new step*4 bingo letter*5", "Weiter 4 Bingo g4 letters 20", "draw say1-4 sheet");
        row("claim, Ja", "new step*4 bingo letter*6{look yes} step", "Weiter 5 # g5",
            "draw say1-4 sheet BINGO GO-ON?{ [Weiter 4 Bingo! g4] } say5");
        row("claim, Nein", "new step*4 bingo letter*6{no} step", "Weiter 1 # g1",
            "draw say1-4 sheet BINGO GO-ON?{ } draw say1");
        row("male claim", "male new step bingo letter*6", "Weiter 1 - g1", "draw msay1 sheet mBINGO GO-ON?{ }");
        row("claim before a number", "new bingo letter*6", "Weiter 0 - g0", "draw sheet BINGO GO-ON?{ }");
        row("claim halts the timer", "new 5s step tick*3 bingo letter tick", "Stop(Weiter) 3 B g3 letters 20",
            "draw draw say1-3");
        row("automatic claim, Ja", "new 5s step tick*3 bingo letter*6{look yes}", "Start(Weiter) 3 - g3",
            "draw draw say1-3 sheet BINGO GO-ON?{ [Stop(Weiter) 3 Bingo! g3] }");
        row("automatic claim, Ja, Start", "new 5s step tick*3 bingo letter*6 step tick",
            "Stop(Weiter) 4 # g4 pools-off auto 5000", "draw draw say1-3 sheet BINGO GO-ON?{ } say4");
        row("automatic claim, Nein, Start", "male new 5s step tick*3 bingo letter*6{no} step tick",
            "Stop(Weiter) 1 # g1 pools-off auto 5000", "draw draw msay1-3 sheet mBINGO GO-ON?{ } draw draw msay1");
        row("second press while typing", "new step*2 bingo letter*2 bingo", "Weiter 2 Bi g2 letters 20", "draw say1-2");
        row("second press, typing goes on", "new step*2 bingo letter*2 bingo letter*3", "Weiter 2 Bingo g2 letters 20",
            "draw say1-2 sheet");
        row("second press at Bingo", "new step*2 bingo letter*5 bingo letter", "Weiter 2 - g2",
            "draw say1-2 sheet sheet BINGO GO-ON?{ }");
        row("press right away", "new step*2 bingo bingo letter*6", "Weiter 2 - g2", "draw say1-2 sheet BINGO GO-ON?{ }");
        row("Stop while typing", "new 5s step tick*3 bingo letter step", "Stop(Weiter) 3 B g3 pools-off auto 5000 letters 20",
            "draw draw say1-3 say3");
        row("quiet at the question", "new 5s step tick*3 bingo letter step tick letter*5{tick letter look yes}",
            "Start(Weiter) 4 - g4", "draw draw say1-3 say3-4 sheet BINGO GO-ON?{ [Stop(Weiter) 4 Bingo! g4] }");
        row("claim behind the end, Ja", "new 5s step tick*75 bingo step tick{letter*6}", "Start 0 - g75",
            "draw draw say1-75 END{ sheet BINGO GO-ON?{ } }");
        row("claim behind the end, Nein", "new 5s step tick*75 bingo step tick{letter*6{no}} step tick",
            "Stop(Start) 1 # g1 pools-off auto 5000", "draw draw say1-75 END{ sheet BINGO GO-ON?{ } draw } draw say1");
        row("claim behind quit", "new step*3 bingo letter*2 quit{letter*4 no} step", "Weiter 4 # g4",
            "draw say1-3 QUIT{ sheet BINGO GO-ON?{ } } say4");
    }
    void scenario()
    {
        QFETCH(QString, doing);
        QFETCH(QString, seen);
        QFETCH(QString, told);
        Game g;
        g.run(doing);
        QCOMPARE(g.seen(), seen);
        QCOMPARE(g.told(), told);
        QVERIFY(g.scripts.isEmpty());
    }

    // Numbers at half the screen height, "Bingo!" smaller and unrounded.
    void numberSize()
    {
        const std::pair<int, double> sizes[] = {{480, 240}, {600, 300}, {768, 384}, {1024, 512}};
        for (const auto &[height, points] : sizes) {
            Game g(height);
            g.run(QStringLiteral("new step"));
            QCOMPARE(g.v().displayPoints, points);
            g.run(QStringLiteral("bingo"));
            QCOMPARE(g.v().displayPoints, height / 3.5);
            g.run(QStringLiteral("letter*6")); // back after Ja
            QCOMPARE(g.v().displayPoints, points);
        }
    }
};

QTEST_GUILESS_MAIN(TestCaller)
#include "test_caller.moc"
