// The "Bingo!" claim: the letters tick by tick, the check sheet, the recording,
// the continue question and both answers, in manual and automatic stepping.
#include "helpers.h"

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QStringList kTyped = {QStringLiteral("B"), QStringLiteral("Bi"), QStringLiteral("Bin"),
                            QStringLiteral("Bing"), QStringLiteral("Bingo")};

// Points are drawn as at 96 dpi: 4/3 pixel each.
int displayPixels(Harness &h)
{
    return QFontInfo(label(h.w(), QStringLiteral("lblZahlenfeld"))->font()).pixelSize();
}

// A game with some numbers shown, manually or by the timer at 5 s.
void play(Harness &h, bool automatic, int numbers)
{
    h.trigger(QStringLiteral("mnuNew"));
    if (automatic) {
        h.trigger(QStringLiteral("mnu5Sec"));
        h.press();
        for (int i = 0; i < numbers; ++i)
            h.autoTimer()->tick();
    } else {
        for (int i = 0; i < numbers; ++i)
            h.press();
    }
}

} // namespace

class TestBingo : public QObject {
    Q_OBJECT
private slots:
    void claim_data();
    void claim();
    void secondPressWhileTyping_data();
    void secondPressWhileTyping();
    void sheetButtonsAtClaim_data();
    void sheetButtonsAtClaim();
    void timersQuietWhileQuestionWaits();
    void claimCompletedBehindQuitQuestion();
};

void TestBingo::claim_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("voice");
    QTest::addColumn<int>("numbers");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("recording");

    QTest::newRow("manual, female, Ja") << false << "mnuWeiblich" << 4 << kAnswerYes << 10000;
    QTest::newRow("manual, male, Nein") << false << "mnuMännlich" << 4 << kAnswerNo << 20000;
    QTest::newRow("manual, before any number, Ja")
        << false << "mnuWeiblich" << 0 << kAnswerYes << 10000;
    QTest::newRow("automatic, female, Nein") << true << "mnuWeiblich" << 3 << kAnswerNo << 10000;
    QTest::newRow("automatic, male, Ja") << true << "mnuMännlich" << 3 << kAnswerYes << 20000;
}

void TestBingo::claim()
{
    QFETCH(bool, automatic);
    QFETCH(QString, voice);
    QFETCH(int, numbers);
    QFETCH(int, answer);
    QFETCH(int, recording);

    Harness h;
    h.trigger(voice);
    play(h, automatic, numbers);
    QCOMPARE(h.merker(), numbers);
    const auto orderBefore = h.caller->order();
    const int reseeds = h.f.random.reseeds;
    QVERIFY(!h.sheet().isVisible());

    h.pressBingo();
    QVERIFY(!h.autoTimer()->isEnabled()); // halted before the first letter
    QVERIFY(h.zeitUni()->isEnabled());
    QCOMPARE(h.zeitUni()->interval(), 20);
    QVERIFY(h.display().isEmpty());
    QCOMPARE(displayPixels(h), 390); // 1024 / 3.5 points

    for (int k = 0; k < kTyped.size(); ++k) {
        QVERIFY(h.zeitUni()->tick());
        QCOMPARE(h.display(), kTyped[k]);
        QCOMPARE(h.sheet().isVisible(), k == kTyped.size() - 1); // opens at "Bingo"
        QVERIFY(h.zeitUni()->isEnabled());
        QVERIFY(!h.autoTimer()->isEnabled());
        QVERIFY(h.action(QStringLiteral("mnu75Zahlen"))->isEnabled());
        QVERIFY(h.action(QStringLiteral("mnu90Zahlen"))->isEnabled());
    }
    QCOMPARE(h.shown(), h.firstOfOrder(numbers));
    QVERIFY(h.f.messages.shown.isEmpty());

    const int playedBefore = h.f.sound.played.size();
    QString displayAtQuestion;
    int playedAtQuestion = -1;
    int recordingAtQuestion = -1;
    bool sheetAtQuestion = false;
    bool timersOffAtQuestion = false;
    h.f.messages.responder = [&](const ShownBox &) {
        displayAtQuestion = h.display();
        playedAtQuestion = h.f.sound.played.size();
        recordingAtQuestion = h.playedIds().value(playedBefore, -1);
        sheetAtQuestion = h.sheet().isVisible();
        timersOffAtQuestion = !h.autoTimer()->isEnabled() && !h.zeitUni()->isEnabled();
        return answer;
    };
    QVERIFY(h.zeitUni()->tick());

    QCOMPARE(h.f.messages.shown.size(), 1);
    QCOMPARE(h.f.messages.shown[0].text, kContinue);
    QCOMPARE(h.f.messages.shown[0].title, QStringLiteral("Weiterspielen?"));
    QVERIFY(h.f.messages.shown[0].buttons == MsgButtons::YesNo);
    QCOMPARE(displayAtQuestion, QStringLiteral("Bingo!"));
    QCOMPARE(playedAtQuestion, playedBefore + 1); // the recording before the question
    QCOMPARE(recordingAtQuestion, recording);
    QVERIFY(sheetAtQuestion);
    QVERIFY(timersOffAtQuestion);
    QCOMPARE(h.f.sound.played.size(), playedBefore + 1);

    QCOMPARE(int(h.caller->bingoLetters()), 0);
    QVERIFY(!h.zeitUni()->isEnabled());
    QVERIFY(!h.autoTimer()->isEnabled());
    QVERIFY(h.display().isEmpty());
    QCOMPARE(displayPixels(h), 683); // 512 points
    QVERIFY(h.sheet().isVisible());
    QCOMPARE(h.caption(), automatic ? QStringLiteral("Start") : QStringLiteral("Weiter"));

    if (answer == kAnswerYes) {
        QCOMPARE(h.merker(), numbers);
        QVERIFY(h.caller->order() == orderBefore);
        QCOMPARE(h.f.random.reseeds, reseeds);
        QCOMPARE(h.shown(), h.firstOfOrder(numbers));
        QCOMPARE(h.text(QStringLiteral("lblAnzahlZahlen")),
                 numbers ? QString::number(numbers) : QString());
    } else {
        QCOMPARE(h.merker(), 0);
        QCOMPARE(h.f.random.reseeds, reseeds + 1);
        QVERIFY(h.shown().isEmpty());
        QVERIFY(h.text(QStringLiteral("lblAnzahlZahlen")).isEmpty());
    }

    // The game goes on from the next number of its order.
    const int next = h.merker() + 1;
    h.press();
    if (automatic) {
        QCOMPARE(h.caption(), QStringLiteral("Stop"));
        QVERIFY(h.autoTimer()->tick());
    }
    QCOMPARE(h.merker(), next);
    QCOMPARE(h.display(), QString::number(h.order(next)));
    QCOMPARE(h.text(QStringLiteral("lblAnzahlZahlen")), QString::number(next));
    if (answer == kAnswerYes)
        QVERIFY(h.caller->order() == orderBefore);
    // After No the first tick of the automatic game draws yet another order.
    const int newOrders = answer == kAnswerYes ? 0 : (automatic ? 2 : 1);
    QCOMPARE(h.f.random.reseeds, reseeds + newOrders);
}

// A second press while the word is being typed only arms the timer again.
void TestBingo::secondPressWhileTyping_data()
{
    QTest::addColumn<int>("ticksBefore");
    for (int k = 0; k <= 5; ++k)
        QTest::newRow(qPrintable(QStringLiteral("after %1 letters").arg(k))) << k;
}

void TestBingo::secondPressWhileTyping()
{
    QFETCH(int, ticksBefore);

    Harness h;
    play(h, false, 2);
    h.pressBingo();
    for (int k = 0; k < ticksBefore; ++k)
        QVERIFY(h.zeitUni()->tick());
    const QString shownBefore = h.display();
    if (ticksBefore == 5) { // "Bingo" stands: the press shows the sheet again
        h.sheet().hide();
        QVERIFY(!h.sheet().isVisible());
    }

    h.pressBingo();
    QCOMPARE(h.display(), shownBefore);
    QCOMPARE(int(h.caller->bingoLetters()), ticksBefore + 1);
    QVERIFY(h.zeitUni()->isEnabled());
    QCOMPARE(h.sheet().isVisible(), ticksBefore == 5);

    int ticks = 0;
    while (h.f.messages.shown.isEmpty() && ticks < 20) {
        QVERIFY(h.zeitUni()->tick());
        ++ticks;
        if (h.f.messages.shown.isEmpty())
            QCOMPARE(h.display(), kTyped[ticksBefore + ticks - 1]);
    }
    QCOMPARE(ticks, 6 - ticksBefore);
    QCOMPARE(h.f.messages.shown.size(), 1);
    QCOMPARE(h.f.sound.played.size(), 3); // two numbers and one "Bingo!"
    QVERIFY(!h.zeitUni()->tick());
}

// A claim shows the sheet with the buttons it had last; only "Zahlentafel
// anzeigen" lays it out for the pool.
void TestBingo::sheetButtonsAtClaim_data()
{
    QTest::addColumn<QString>("pool");
    QTest::addColumn<bool>("laidOut");
    QTest::addColumn<bool>("visible76to90");

    QTest::newRow("75, never laid out") << "mnu75Zahlen" << false << true;
    QTest::newRow("75, laid out") << "mnu75Zahlen" << true << false;
    QTest::newRow("90, laid out") << "mnu90Zahlen" << true << true;
    QTest::newRow("90, never laid out") << "mnu90Zahlen" << false << true;
}

void TestBingo::sheetButtonsAtClaim()
{
    QFETCH(QString, pool);
    QFETCH(bool, laidOut);
    QFETCH(bool, visible76to90);

    Harness h;
    h.trigger(pool);
    if (laidOut) {
        h.click(QStringLiteral("cmdZahlenTafel"));
        QVERIFY(h.sheet().isVisible());
        click(h.sheet(), QStringLiteral("cmdZurück"));
        QVERIFY(!h.sheet().isVisible());
    }
    h.pressBingo(); // before any number: every visible button red
    for (int k = 0; k < 5; ++k)
        QVERIFY(h.zeitUni()->tick());
    QVERIFY(h.sheet().isVisible());
    QVERIFY(h.shown().isEmpty());
    for (int n = 1; n <= 90; ++n) {
        QCOMPARE(h.sheet().cmdZahl(n)->isVisible(), n <= 75 || visible76to90);
        QCOMPARE(h.sheet().numberColour(n), kNotShown);
    }
}

// From the claim to the answer the automatic timer is off, even when "Start"
// was pressed while the letters were typed; nothing ticks behind the question.
void TestBingo::timersQuietWhileQuestionWaits()
{
    Harness h;
    play(h, true, 3);
    h.pressBingo();
    QVERIFY(h.zeitUni()->tick()); // "B"
    h.press();                    // "Stop" with the timer off: armed again
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QVERIFY(h.autoTimer()->isEnabled());
    QVERIFY(h.autoTimer()->tick()); // a number replaces the letters
    QCOMPARE(h.merker(), 4);
    QCOMPARE(h.display(), QString::number(h.order(4)));
    QVERIFY(h.zeitUni()->tick()); // typing goes on and halts the timer again
    QCOMPARE(h.display(), QStringLiteral("Bi"));
    QVERIFY(!h.autoTimer()->isEnabled());

    bool anyTickWhileOpen = true;
    h.f.messages.responder = [&](const ShownBox &) {
        anyTickWhileOpen = h.autoTimer()->tick() || h.zeitUni()->tick();
        return kAnswerYes;
    };
    int ticks = 0;
    while (h.f.messages.shown.isEmpty() && ticks < 10) {
        QVERIFY(h.zeitUni()->tick());
        ++ticks;
    }
    QCOMPARE(ticks, 4);
    QVERIFY(!anyTickWhileOpen);
    QCOMPARE(h.merker(), 4);
    QCOMPARE(int(h.caller->bingoLetters()), 0);
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QVERIFY(h.display().isEmpty());
    h.press();
    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.merker(), 5);
    QCOMPARE(h.display(), QString::number(h.order(5)));
}

// Letters keep coming behind the quit question; the continue question opens
// on top of it and both answers take effect.
void TestBingo::claimCompletedBehindQuitQuestion()
{
    Harness h;
    play(h, false, 3);
    h.pressBingo();
    QVERIFY(h.zeitUni()->tick());
    QVERIFY(h.zeitUni()->tick());

    QStringList order;
    h.f.messages.responder = [&](const ShownBox &box) {
        order.append(box.title);
        if (box.text == kQuit) {
            for (int i = 0; i < 10 && h.zeitUni()->tick(); ++i) {
            }
            return kAnswerNo;
        }
        return kAnswerYes;
    };
    h.trigger(QStringLiteral("mnuCloseAll"));
    QCOMPARE(order, (QStringList{QStringLiteral("Programm schliessen"),
                                 QStringLiteral("Weiterspielen?")}));
    QCOMPARE(h.f.app.quits, 0);
    QCOMPARE(int(h.caller->bingoLetters()), 0);
    QVERIFY(h.display().isEmpty());
    QCOMPARE(h.merker(), 3);
    QCOMPARE(h.caption(), QStringLiteral("Weiter"));
    h.press();
    QCOMPARE(h.display(), QString::number(h.order(4)));
}

QTEST_MAIN(TestBingo)
#include "test_bingo.moc"
