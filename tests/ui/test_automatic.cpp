// Automatic stepping of the main window with fake timers: whole games, the
// idle/running/paused states, "Start" without an interval, and ticks that
// arrive while a message box waits for its answer.
#include "helpers.h"

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

// What the window looked like at the moment a recording started.
struct Played {
    int id;
    bool timerEnabled;
    int interval;
    QString display;
    int openBoxes;
};

struct SoundLog : ISoundOutput {
    void playWave(const QByteArray &image) override
    {
        if (hook)
            hook(image);
    }
    std::function<void(const QByteArray &)> hook;
    QList<Played> log;
};

// The harness with a sound output that notes the window's state per recording.
struct Window : SoundLog, Harness {
    Window() : Harness([this](Services &s) { s.sound = this; })
    {
        hook = [this](const QByteArray &image) {
            log.append({FakeResources::idOf(image), autoTimer()->isEnabled(),
                        autoTimer()->interval(), display(), f.messages.open});
        };
    }
};

} // namespace

class TestAutomatic : public QObject {
    Q_OBJECT
private slots:
    void wholeGame_data();
    void wholeGame();
    void steppingStates_data();
    void steppingStates();
    void startWithoutInterval_data();
    void startWithoutInterval();
    void ticksBehindQuitQuestion_data();
    void ticksBehindQuitQuestion();
    void claimCompletedBehindEndOfPool_data();
    void claimCompletedBehindEndOfPool();
    void tickBehindManualEndOfPool();
};

void TestAutomatic::wholeGame_data()
{
    QTest::addColumn<QString>("pool");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("voice");
    QTest::addColumn<int>("base");

    QTest::newRow("75 at 5 s, female") << "mnu75Zahlen" << 75 << "mnu5Sec" << 5000
                                       << "mnuWeiblich" << 10001;
    QTest::newRow("90 at 10 s, male") << "mnu90Zahlen" << 90 << "mnu10Sec" << 10000
                                      << "mnuMännlich" << 20001;
    QTest::newRow("90 at 20 s, female") << "mnu90Zahlen" << 90 << "mnu20Sec" << 20000
                                        << "mnuWeiblich" << 10001;
}

void TestAutomatic::wholeGame()
{
    QFETCH(QString, pool);
    QFETCH(int, size);
    QFETCH(QString, interval);
    QFETCH(int, ms);
    QFETCH(QString, voice);
    QFETCH(int, base);

    Window h;
    h.trigger(pool); // a pool choice starts a game
    h.trigger(voice);
    h.trigger(interval);
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QVERIFY(!h.autoTimer()->isEnabled());
    QVERIFY(h.poolMenusEnabled());
    QCOMPARE(h.text("lblletzteModusZahl"), QString::number(size));

    h.press();
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QVERIFY(h.autoTimer()->isEnabled());
    QCOMPARE(h.autoTimer()->interval(), ms);
    QVERIFY(h.poolMenusDisabled());
    QVERIFY(h.display().isEmpty());
    QVERIFY(h.log.isEmpty()); // "Start" itself announces nothing

    const int reseeds = h.f.random.reseeds;
    for (int i = 1; i <= size; ++i) {
        const int starts = h.autoTimer()->starts();
        QVERIFY2(h.autoTimer()->tick(), qPrintable(QStringLiteral("tick %1").arg(i)));
        if (i == 1) // the first tick of a fresh automatic game draws a new order
            QCOMPARE(h.f.random.reseeds, reseeds + 1);
        const int n = h.order(i);
        QVERIFY(n >= 1 && n <= size);
        QCOMPARE(h.merker(), i);
        QCOMPARE(h.display(), QString::number(n));
        QCOMPARE(h.text("lblAnzahlZahlen"), QString::number(i));
        QCOMPARE(h.sheet().numberColour(n), kShown);
        QCOMPARE(h.log.size(), i);
        const Played &p = h.log.last();
        QCOMPARE(p.id, base + n);
        QVERIFY2(p.timerEnabled, "announced before the timer was re-armed");
        QCOMPARE(p.interval, ms);
        QCOMPARE(p.display, QString::number(n));
        QCOMPARE(h.autoTimer()->starts(), starts + 1); // a full interval per number
        QCOMPARE(h.caption(), QStringLiteral("Stop"));
        QVERIFY(h.poolMenusDisabled());
    }
    QCOMPARE(h.shown().size(), size); // every number exactly once
    QVERIFY(h.f.messages.shown.isEmpty());

    // The tick after the last number reports the end; only after the answer
    // do caption and menus change.
    QString captionWhileOpen;
    bool menusDisabledWhileOpen = false;
    h.f.messages.responder = [&](const ShownBox &) {
        captionWhileOpen = h.caption();
        menusDisabledWhileOpen = h.poolMenusDisabled();
        return kAnswerOk;
    };
    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.f.messages.shown.size(), 1);
    QCOMPARE(h.f.messages.shown[0].text, kEndOfPool);
    QCOMPARE(captionWhileOpen, QStringLiteral("Stop"));
    QVERIFY(menusDisabledWhileOpen);
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QCOMPARE(h.toolTip(), QStringLiteral("Start"));
    QVERIFY(h.poolMenusEnabled());
    QVERIFY(!h.autoTimer()->isEnabled());
    QCOMPARE(h.merker(), 0);
    QVERIFY(h.display().isEmpty());
    QVERIFY(h.text("lblAnzahlZahlen").isEmpty());
    QCOMPARE(h.log.size(), size); // nothing announced on the last tick
    QCOMPARE(h.shown().size(), size); // the sheet keeps the ended game
    QVERIFY(!h.autoTimer()->tick());

    // "Start" again: the first tick begins a fresh game.
    h.press();
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.merker(), 1);
    QCOMPARE(h.shown(), QList<int>{h.order(1)});
}

// The three states of automatic stepping, reached by presses of the step
// button after two numbers have been shown.
void TestAutomatic::steppingStates_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("timerOn");
    QTest::addColumn<bool>("displayEmpty");
    QTest::addColumn<bool>("menusOn");

    QTest::newRow("idle") << 0 << "Start" << false << true << true;
    QTest::newRow("running") << 1 << "Stop" << true << false << false;
    QTest::newRow("paused") << 2 << "Pause" << false << true << true;
    QTest::newRow("resumed") << 3 << "Stop" << true << true << false;
    QTest::newRow("paused again") << 4 << "Pause" << false << true << true;
}

void TestAutomatic::steppingStates()
{
    QFETCH(int, presses);
    QFETCH(QString, caption);
    QFETCH(bool, timerOn);
    QFETCH(bool, displayEmpty);
    QFETCH(bool, menusOn);

    Window h;
    h.trigger(QStringLiteral("mnuNew"));
    h.trigger(QStringLiteral("mnu10Sec"));
    int startsAfterTicks = 0;
    for (int p = 1; p <= presses; ++p) {
        h.press();
        if (p == 1) {
            QVERIFY(h.autoTimer()->tick());
            QVERIFY(h.autoTimer()->tick());
            startsAfterTicks = h.autoTimer()->starts();
        }
    }
    QCOMPARE(h.caption(), caption);
    QCOMPARE(h.autoTimer()->isEnabled(), timerOn);
    QCOMPARE(h.display().isEmpty(), displayEmpty);
    QCOMPARE(h.poolMenusEnabled(), menusOn);
    QCOMPARE(h.poolMenusDisabled(), !menusOn);
    if (presses == 0)
        return;

    QCOMPARE(h.merker(), 2);
    QCOMPARE(h.text("lblAnzahlZahlen"), QStringLiteral("2"));
    QCOMPARE(h.log.size(), 2); // pausing and resuming announce nothing
    if (!timerOn) {
        QVERIFY(!h.autoTimer()->tick());
        QCOMPARE(h.merker(), 2);
        return;
    }
    if (presses == 3) // resuming restarts the full interval
        QCOMPARE(h.autoTimer()->starts(), startsAfterTicks + 1);
    QCOMPARE(h.autoTimer()->interval(), 10000);
    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.merker(), 3);
    QCOMPARE(h.display(), QString::number(h.order(3)));
    QCOMPARE(h.log.size(), 3);
    QCOMPARE(h.log.last().id, 10001 + h.order(3));
}

// "Start" while no usable interval is in force steps manually instead of
// arming a timer that would never fire.
void TestAutomatic::startWithoutInterval_data()
{
    QTest::addColumn<QString>("pool");
    QTest::addColumn<int>("size");
    QTest::addColumn<double>("interval"); // seconds; 5 is chosen through the menu
    QTest::addColumn<bool>("viaPoolSwitch");
    QTest::addColumn<QString>("caption");

    QTest::newRow("end of pool 75, manual") << "mnu75Zahlen" << 75 << 0.0 << false << "Weiter";
    QTest::newRow("end of pool 90, manual") << "mnu90Zahlen" << 90 << 0.0 << false << "Weiter";
    QTest::newRow("pool switch to 90 with numbers shown")
        << "mnu90Zahlen" << 90 << 0.0 << true << "Weiter";
    QTest::newRow("pool switch to 75 with numbers shown")
        << "mnu75Zahlen" << 75 << 0.0 << true << "Weiter";
    QTest::newRow("interval that rounds to 0 ms") << "mnu75Zahlen" << 75 << 0.0004 << false
                                                  << "Weiter";
    QTest::newRow("interval chosen earlier starts automatic")
        << "mnu75Zahlen" << 75 << 5.0 << false << "Stop";
}

void TestAutomatic::startWithoutInterval()
{
    QFETCH(QString, pool);
    QFETCH(int, size);
    QFETCH(double, interval);
    QFETCH(bool, viaPoolSwitch);
    QFETCH(QString, caption);

    Window h;
    if (interval == 5.0) {
        h.trigger(QStringLiteral("mnu5Sec"));
        h.trigger(QStringLiteral("mnuManuell"));
    } else if (interval > 0) {
        h.settings.intervalSeconds = static_cast<float>(interval);
    }

    if (viaPoolSwitch) {
        h.trigger(QStringLiteral("mnuNew"));
        for (int i = 0; i < 3; ++i)
            h.press();
        QCOMPARE(h.merker(), 3);
        h.trigger(pool);
    } else {
        h.trigger(pool);
        for (int i = 0; i <= size; ++i)
            h.press();
        QCOMPARE(h.f.messages.shown.size(), 1);
        QCOMPARE(h.f.messages.shown[0].text, kEndOfPool);
    }
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QCOMPARE(h.text("lblModusSchalten"), QStringLiteral("Manuell"));
    QCOMPARE(h.merker(), 0);
    const int reseeds = h.f.random.reseeds;
    const int played = h.log.size();

    h.press();
    QCOMPARE(h.caption(), caption);
    if (caption == QLatin1String("Stop")) {
        QVERIFY(h.autoTimer()->isEnabled());
        QCOMPARE(h.autoTimer()->interval(), 5000);
        QCOMPARE(h.merker(), 0);
        QCOMPARE(h.log.size(), played);
        return;
    }
    QCOMPARE(h.toolTip(), QStringLiteral("Weiter"));
    QVERIFY(!h.autoTimer()->isEnabled());
    QCOMPARE(h.f.random.reseeds, reseeds + 1); // a new game before the step
    QCOMPARE(h.merker(), 1);
    const int n = h.order(1);
    QVERIFY(h.order(size) != 0); // the order is of the current pool
    if (size == 75)
        QCOMPARE(h.order(76), 0);
    QCOMPARE(h.display(), QString::number(n));
    QCOMPARE(h.text("lblAnzahlZahlen"), QStringLiteral("1"));
    QCOMPARE(h.shown(), QList<int>{n});
    QCOMPARE(h.log.size(), played + 1);
    QCOMPARE(h.log.last().id, 10001 + n);

    // Manual stepping goes on from there.
    h.press();
    QCOMPARE(h.caption(), QStringLiteral("Weiter"));
    QCOMPARE(h.merker(), 2);
    QCOMPARE(h.display(), QString::number(h.order(2)));
    QCOMPARE(h.f.random.reseeds, reseeds + 1);
}

// The quit question does not stop a running game: ticks go on behind it and
// the answer takes effect when given.
void TestAutomatic::ticksBehindQuitQuestion_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("ticks");

    QTest::newRow("menu, No, 3 ticks") << false << kAnswerNo << 3;
    QTest::newRow("menu, No, no tick") << false << kAnswerNo << 0;
    QTest::newRow("menu, Yes, 2 ticks") << false << kAnswerYes << 2;
    QTest::newRow("close box, No, 3 ticks") << true << kAnswerNo << 3;
    QTest::newRow("close box, Yes, 1 tick") << true << kAnswerYes << 1;
}

void TestAutomatic::ticksBehindQuitQuestion()
{
    QFETCH(bool, closeBox);
    QFETCH(int, answer);
    QFETCH(int, ticks);

    Window h;
    h.trigger(QStringLiteral("mnuNew"));
    h.trigger(QStringLiteral("mnu5Sec"));
    h.press();
    QVERIFY(h.autoTimer()->tick());
    QVERIFY(h.autoTimer()->tick());

    int announcedWhileOpen = 0;
    h.f.messages.responder = [&](const ShownBox &box) {
        if (box.text != kQuit)
            return kAnswerOk;
        for (int i = 0; i < ticks; ++i)
            h.autoTimer()->tick();
        for (const Played &p : h.log)
            announcedWhileOpen += p.openBoxes;
        return answer;
    };
    if (closeBox)
        h.w().close();
    else
        h.trigger(QStringLiteral("mnuCloseAll"));

    QCOMPARE(h.f.messages.shown.size(), 1);
    QCOMPARE(h.f.messages.shown[0].text, kQuit);
    QCOMPARE(announcedWhileOpen, ticks);
    QCOMPARE(h.merker(), 2 + ticks);

    if (answer == kAnswerYes) {
        QCOMPARE(h.f.app.quits, 1);
        if (closeBox)
            QVERIFY(!h.w().isVisible());
        // The program ends at once: a tick still due must not bring back the
        // store, the sheet or a recording.
        const int played = h.log.size();
        QVERIFY(!h.autoTimer()->tick());
        QVERIFY(!h.zeitUni()->tick());
        QCOMPARE(h.log.size(), played);
        return;
    }
    QCOMPARE(h.f.app.quits, 0);
    QVERIFY(h.w().isVisible());
    QCOMPARE(h.shown(), h.firstOfOrder(2 + ticks));
    QCOMPARE(qint16(h.settings.stepping), qint16(2));
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QVERIFY(h.autoTimer()->isEnabled());
    QCOMPARE(h.autoTimer()->interval(), 5000);
    QVERIFY(h.poolMenusDisabled());
    // The game continues from the number behind the box.
    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.merker(), 3 + ticks);
    QCOMPARE(h.display(), QString::number(h.order(3 + ticks)));
}

// A claim typed while the pool runs out: its letters keep coming behind the
// end-of-pool message, the continue question opens on top of it, and the
// rest of the tick handler resumes from whatever the answer left.
void TestAutomatic::claimCompletedBehindEndOfPool_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Ja") << kAnswerYes;
    QTest::newRow("Nein") << kAnswerNo;
}

void TestAutomatic::claimCompletedBehindEndOfPool()
{
    QFETCH(int, answer);

    Window h;
    h.trigger(QStringLiteral("mnuNew"));
    h.trigger(QStringLiteral("mnu5Sec"));
    h.press();
    for (int i = 0; i < 75; ++i)
        QVERIFY(h.autoTimer()->tick());
    h.pressBingo();
    QVERIFY(!h.autoTimer()->isEnabled());
    h.press(); // "Stop" with the timer off starts it again
    QVERIFY(h.autoTimer()->isEnabled());
    const int reseeds = h.f.random.reseeds;

    QStringList typed;
    h.f.messages.responder = [&](const ShownBox &box) {
        if (box.text == kEndOfPool) {
            for (int i = 0; i < 6; ++i) {
                if (!h.zeitUni()->tick())
                    break;
                typed.append(h.display());
            }
            return kAnswerOk;
        }
        return answer;
    };
    QVERIFY(h.autoTimer()->tick());

    QCOMPARE(h.f.messages.shown.size(), 2);
    QCOMPARE(h.f.messages.shown[0].text, kEndOfPool);
    QCOMPARE(h.f.messages.shown[1].title, QStringLiteral("Weiterspielen?"));
    QCOMPARE(typed.size(), 6);
    QCOMPARE(typed.first(), QStringLiteral("B"));
    QCOMPARE(h.log.last().id, 10000);

    QCOMPARE(h.merker(), 0);
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QCOMPARE(h.toolTip(), QStringLiteral("Start"));
    QVERIFY(!h.autoTimer()->isEnabled());
    QVERIFY(!h.zeitUni()->isEnabled());
    QCOMPARE(h.caller->bingoLetters(), qint16(0));
    QVERIFY(h.poolMenusEnabled());
    QVERIFY(h.display().isEmpty());
    QVERIFY(h.text("lblAnzahlZahlen").isEmpty());
    if (answer == kAnswerNo) {
        QCOMPARE(h.f.random.reseeds, reseeds + 1);
        QVERIFY(h.shown().isEmpty());
    } else {
        QCOMPARE(h.f.random.reseeds, reseeds);
        QCOMPARE(h.shown().size(), 75);
    }

    // Still playable: "Start" and a tick begin a fresh game.
    h.f.messages.responder = nullptr;
    h.press();
    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.merker(), 1);
    QCOMPARE(h.shown(), QList<int>{h.order(1)});
}

// After "Manuell schalten" during a running game the timer is still armed, so
// its tick can arrive behind the end-of-pool message of a manual step.
void TestAutomatic::tickBehindManualEndOfPool()
{
    Window h;
    h.trigger(QStringLiteral("mnuNew"));
    h.trigger(QStringLiteral("mnu5Sec"));
    h.press();
    QVERIFY(h.autoTimer()->tick());
    h.trigger(QStringLiteral("mnuManuell"));
    QVERIFY(h.autoTimer()->isEnabled());
    for (int i = 2; i <= 75; ++i)
        h.press();
    QCOMPARE(h.merker(), 75);
    QVERIFY(h.autoTimer()->isEnabled());

    int nestedTicks = 0;
    h.f.messages.responder = [&](const ShownBox &) {
        if (h.f.messages.open == 1 && h.autoTimer()->tick())
            ++nestedTicks;
        return kAnswerOk;
    };
    h.press();
    QCOMPARE(nestedTicks, 1);
    QCOMPARE(h.f.messages.shown.size(), 2);
    QCOMPARE(h.f.messages.shown[1].text, kEndOfPool);
    QCOMPARE(h.merker(), 0);
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QVERIFY(!h.autoTimer()->isEnabled());
    QVERIFY(h.poolMenusEnabled());
    QVERIFY(h.display().isEmpty());
    QVERIFY(h.text("lblAnzahlZahlen").isEmpty());
    QCOMPARE(h.shown().size(), 75);
    QCOMPARE(h.log.size(), 75);
}

QTEST_MAIN(TestAutomatic)
#include "test_automatic.moc"
