// The "Bingo!" claim: the letters tick by tick, the check sheet, the recording,
// the continue question and both answers, in manual and automatic stepping.
#include "fakes/fakes.h"
#include "game/sharedstore.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QString kQuestion = QStringLiteral("Möchten Sie weiterspielen?\r\r"
                                         "Ja    = Spiel wird fortgesetzt,\r"
                                         "Nein = Beendet dieses Spiel,\r"
                                         "            und Start eines neuen Spieles.");
const QString kQuit = QStringLiteral("Möchten Sie das Programm beenden?");
const QStringList kTyped = {QStringLiteral("B"), QStringLiteral("Bi"), QStringLiteral("Bin"),
                            QStringLiteral("Bing"), QStringLiteral("Bingo")};

struct Window {
    FakeServices f;
    MainWindow w{f.services()};

    Window()
    {
        w.Form_Load();
        w.show();
    }
    QPushButton *button(const QString &name) const { return w.findChild<QPushButton *>(name); }
    QAction *action(const QString &name) const { return w.findChild<QAction *>(name); }
    QString text(const QString &label) const { return w.findChild<QLabel *>(label)->text(); }
    QString display() const { return text(QStringLiteral("lblZahlenfeld")); }
    double displayPoints() const
    {
        return w.findChild<QLabel *>(QStringLiteral("lblZahlenfeld"))->font().pointSizeF();
    }
    QString caption() const { return button(QStringLiteral("cmdWeiter"))->text(); }
    FakeTimer *autoTimer() const { return f.timers.timer(QStringLiteral("AutoTimer")); }
    FakeTimer *zeitUni() const { return f.timers.timer(QStringLiteral("ZeitUni")); }
    void trigger(const QString &name) { action(name)->trigger(); }
    void click(const QString &name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void press() { click(QStringLiteral("cmdWeiter")); }
    void pressBingo() { click(QStringLiteral("cmdBingo")); }
    CheckSheet &sheet() { return w.frmKontrolle(); }
    int merker() const { return w.game().MerkerZahl; }
    int bzahl() const { return w.game().BZahl; }
    int order(int i) const { return w.game().Zahlenfolge[static_cast<size_t>(i)]; }
    int lastPlayed() const
    {
        return f.sound.played.isEmpty() ? -1 : FakeResources::idOf(f.sound.played.last());
    }
    QList<int> firstOfOrder(int count) const
    {
        QList<int> out;
        for (int i = 1; i <= count; ++i)
            out.append(order(i));
        std::sort(out.begin(), out.end());
        return out;
    }
    // A game with some numbers shown, manually or by the timer at 5 s.
    void play(bool automatic, int numbers)
    {
        trigger(QStringLiteral("mnuNew"));
        if (automatic) {
            trigger(QStringLiteral("mnu5Sec"));
            press();
            for (int i = 0; i < numbers; ++i)
                autoTimer()->tick();
        } else {
            for (int i = 0; i < numbers; ++i)
                press();
        }
    }
};

} // namespace

class TestBingo : public QObject {
    Q_OBJECT
private slots:
    void init() { destroyIntern(); }
    void cleanup() { destroyIntern(); }

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

    Window h;
    h.trigger(voice);
    h.play(automatic, numbers);
    QCOMPARE(h.merker(), numbers);
    const auto orderBefore = h.w.game().Zahlenfolge;
    const int reseeds = h.f.random.reseeds;
    QVERIFY(!h.sheet().isVisible());

    h.pressBingo();
    QVERIFY(!h.autoTimer()->isEnabled()); // halted before the first letter
    QVERIFY(h.zeitUni()->isEnabled());
    QCOMPARE(h.zeitUni()->interval(), 20);
    QVERIFY(h.display().isEmpty());
    QCOMPARE(h.displayPoints(), 1024 / 3.5);

    for (int k = 0; k < kTyped.size(); ++k) {
        QVERIFY(h.zeitUni()->tick());
        QCOMPARE(h.display(), kTyped[k]);
        QCOMPARE(h.sheet().isVisible(), k == kTyped.size() - 1); // opens at "Bingo"
        QVERIFY(h.zeitUni()->isEnabled());
        QVERIFY(!h.autoTimer()->isEnabled());
        QVERIFY(h.action(QStringLiteral("mnu75Zahlen"))->isEnabled());
        QVERIFY(h.action(QStringLiteral("mnu90Zahlen"))->isEnabled());
    }
    QCOMPARE(h.sheet().shownNumbers(), h.firstOfOrder(numbers));
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
        recordingAtQuestion = h.lastPlayed();
        sheetAtQuestion = h.sheet().isVisible();
        timersOffAtQuestion = !h.autoTimer()->isEnabled() && !h.zeitUni()->isEnabled();
        return answer;
    };
    QVERIFY(h.zeitUni()->tick());

    QCOMPARE(h.f.messages.shown.size(), 1);
    QCOMPARE(h.f.messages.shown[0].text, kQuestion);
    QCOMPARE(h.f.messages.shown[0].title, QStringLiteral("Weiterspielen?"));
    QVERIFY(h.f.messages.shown[0].buttons == MsgButtons::YesNo);
    QCOMPARE(displayAtQuestion, QStringLiteral("Bingo!"));
    QCOMPARE(playedAtQuestion, playedBefore + 1); // the recording before the question
    QCOMPARE(recordingAtQuestion, recording);
    QVERIFY(sheetAtQuestion);
    QVERIFY(timersOffAtQuestion);
    QCOMPARE(h.f.sound.played.size(), playedBefore + 1);

    QCOMPARE(h.w.game().Antwort, answer);
    QCOMPARE(h.bzahl(), 0);
    QVERIFY(!h.zeitUni()->isEnabled());
    QVERIFY(!h.autoTimer()->isEnabled());
    QVERIFY(h.display().isEmpty());
    QCOMPARE(h.displayPoints(), 512.0);
    QVERIFY(h.sheet().isVisible());
    QCOMPARE(h.caption(), automatic ? QStringLiteral("Start") : QStringLiteral("Weiter"));

    if (answer == kAnswerYes) {
        QCOMPARE(h.merker(), numbers);
        QVERIFY(h.w.game().Zahlenfolge == orderBefore);
        QCOMPARE(h.f.random.reseeds, reseeds);
        QCOMPARE(h.sheet().shownNumbers(), h.firstOfOrder(numbers));
        QCOMPARE(h.text(QStringLiteral("lblAnzahlZahlen")),
                 numbers ? QString::number(numbers) : QString());
    } else {
        QCOMPARE(h.merker(), 0);
        QCOMPARE(h.f.random.reseeds, reseeds + 1);
        QVERIFY(h.sheet().shownNumbers().isEmpty());
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
        QVERIFY(h.w.game().Zahlenfolge == orderBefore);
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

    Window h;
    h.play(false, 2);
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
    QCOMPARE(h.bzahl(), ticksBefore + 1);
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

    Window h;
    h.trigger(pool);
    if (laidOut) {
        h.click(QStringLiteral("cmdZahlenTafel"));
        QVERIFY(h.sheet().isVisible());
        QTest::mouseClick(h.sheet().findChild<QPushButton *>(QStringLiteral("cmdZurück")),
                          Qt::LeftButton);
        QVERIFY(!h.sheet().isVisible());
    }
    h.pressBingo(); // before any number: every visible button red
    for (int k = 0; k < 5; ++k)
        QVERIFY(h.zeitUni()->tick());
    QVERIFY(h.sheet().isVisible());
    QVERIFY(h.sheet().shownNumbers().isEmpty());
    for (int n = 1; n <= 90; ++n) {
        QCOMPARE(h.sheet().cmdZahl(n)->isVisible(), n <= 75 || visible76to90);
        QCOMPARE(h.sheet().numberColour(n), kNotShown);
    }
}

// From the claim to the answer the automatic timer is off, even when "Start"
// was pressed while the letters were typed; nothing ticks behind the question.
void TestBingo::timersQuietWhileQuestionWaits()
{
    Window h;
    h.play(true, 3);
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
    QCOMPARE(h.bzahl(), 0);
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
    Window h;
    h.play(false, 3);
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
    QCOMPARE(h.w.game().Antwort, kAnswerNo); // the quit answer came last
    QCOMPARE(h.bzahl(), 0);
    QVERIFY(h.display().isEmpty());
    QCOMPARE(h.merker(), 3);
    QCOMPARE(h.caption(), QStringLiteral("Weiter"));
    h.press();
    QCOMPARE(h.display(), QString::number(h.order(4)));
}

QTEST_MAIN(TestBingo)
#include "test_bingo.moc"
