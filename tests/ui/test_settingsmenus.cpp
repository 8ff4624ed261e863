// The settings menu: check marks per group, store values, status texts, the
// step button, and the pool items that always start a new game.
#include "helpers.h"

#include <QMenu>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QStringList kCheckable = {
    QStringLiteral("mnuWeiblich"), QStringLiteral("mnuMännlich"), QStringLiteral("mnuManuell"),
    QStringLiteral("mnu5Sec"),     QStringLiteral("mnu10Sec"),    QStringLiteral("mnu20Sec"),
    QStringLiteral("mnuManuellSec"), QStringLiteral("mnu75Zahlen"), QStringLiteral("mnu90Zahlen")};

} // namespace

class TestSettingsMenus : public QObject {
    Q_OBJECT
private slots:
    void menuItems_data();
    void menuItems();
    void poolChoiceStartsNewGame_data();
    void poolChoiceStartsNewGame();
    void poolChoiceRefreshesVisibleSheet_data();
    void poolChoiceRefreshesVisibleSheet();
    void intervalChosenWhileRunning_data();
    void intervalChosenWhileRunning();
    void manualChosenWhileRunning();
    void voiceChosenWhileRunning_data();
    void voiceChosenWhileRunning();
};

void TestSettingsMenus::menuItems_data()
{
    QTest::addColumn<bool>("gameFirst");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<int>("voice");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("interval");
    QTest::addColumn<int>("pool");
    QTest::addColumn<QStringList>("status"); // pool, stepping, pool size, voice
    QTest::addColumn<QString>("caption");

    const QString w = QStringLiteral("mnuWeiblich"), m = QStringLiteral("mnuMännlich");
    const QString man = QStringLiteral("mnuManuell"), p75 = QStringLiteral("mnu75Zahlen"),
                  p90 = QStringLiteral("mnu90Zahlen");
    const QStringList st75 = {"75 Zahlen", "Manuell", "75", "Weiblich"};

    QTest::newRow("start state") << true << QStringList{} << QStringList{w, man, p75} << 1 << 1
                                 << 0.0 << 1 << st75 << "Weiter";
    QTest::newRow("Weiblich while active")
        << true << QStringList{w} << QStringList{w, man, p75} << 1 << 1 << 0.0 << 1 << st75
        << "Weiter";
    QTest::newRow("Männlich") << true << QStringList{m} << QStringList{m, man, p75} << 2 << 1
                              << 0.0 << 1
                              << QStringList{"75 Zahlen", "Manuell", "75", "Männlich"}
                              << "Weiter";
    QTest::newRow("Männlich twice") << true << QStringList{m, m} << QStringList{m, man, p75} << 2
                                    << 1 << 0.0 << 1
                                    << QStringList{"75 Zahlen", "Manuell", "75", "Männlich"}
                                    << "Weiter";
    QTest::newRow("Männlich, then Weiblich")
        << true << QStringList{m, w} << QStringList{w, man, p75} << 1 << 1 << 0.0 << 1 << st75
        << "Weiter";
    QTest::newRow("5 Sekunden") << true << QStringList{"mnu5Sec"}
                                << QStringList{w, "mnu5Sec", p75} << 1 << 2 << 5.0 << 1
                                << QStringList{"75 Zahlen", "5 Sekunden", "75", "Weiblich"}
                                << "Start";
    QTest::newRow("10 Sekunden") << true << QStringList{"mnu10Sec"}
                                 << QStringList{w, "mnu10Sec", p75} << 1 << 2 << 10.0 << 1
                                 << QStringList{"75 Zahlen", "10 Sekunden", "75", "Weiblich"}
                                 << "Start";
    QTest::newRow("20 Sekunden") << true << QStringList{"mnu20Sec"}
                                 << QStringList{w, "mnu20Sec", p75} << 1 << 2 << 20.0 << 1
                                 << QStringList{"75 Zahlen", "20 Sekunden", "75", "Weiblich"}
                                 << "Start";
    QTest::newRow("20, then 5 Sekunden")
        << true << QStringList{"mnu20Sec", "mnu5Sec"} << QStringList{w, "mnu5Sec", p75} << 1 << 2
        << 5.0 << 1 << QStringList{"75 Zahlen", "5 Sekunden", "75", "Weiblich"} << "Start";
    QTest::newRow("10 Sekunden, then Manuell keeps the interval")
        << true << QStringList{"mnu10Sec", man} << QStringList{w, man, p75} << 1 << 1 << 10.0
        << 1 << st75 << "Weiter";
    QTest::newRow("Manuell einstellen only opens the dialog")
        << true << QStringList{"mnu10Sec", "mnuManuellSec"} << QStringList{w, "mnu10Sec", p75}
        << 1 << 2 << 10.0 << 1 << QStringList{"75 Zahlen", "10 Sekunden", "75", "Weiblich"}
        << "Start";
    QTest::newRow("90") << true << QStringList{p90} << QStringList{w, man, p90} << 1 << 1 << 0.0
                        << 2 << QStringList{"90 Zahlen", "Manuell", "90", "Weiblich"}
                        << "Weiter";
    QTest::newRow("90, then 75") << true << QStringList{p90, p75} << QStringList{w, man, p75}
                                 << 1 << 1 << 0.0 << 1 << st75 << "Weiter";
    QTest::newRow("5 Sekunden before any game")
        << false << QStringList{"mnu5Sec"} << QStringList{w, "mnu5Sec", p75} << 1 << 2 << 5.0
        << 1 << QStringList{"75 Zahlen", "5 Sekunden", "75", "Weiblich"} << "Start";
    QTest::newRow("Männlich before any game")
        << false << QStringList{m} << QStringList{m, man, p75} << 2 << 1 << 0.0 << 1
        << QStringList{"75 Zahlen", "Manuell", "75", "Männlich"} << "Weiter";
}

void TestSettingsMenus::menuItems()
{
    QFETCH(bool, gameFirst);
    QFETCH(QStringList, items);
    QFETCH(QStringList, marks);
    QFETCH(int, voice);
    QFETCH(int, mode);
    QFETCH(double, interval);
    QFETCH(int, pool);
    QFETCH(QStringList, status);
    QFETCH(QString, caption);

    Harness h;
    if (gameFirst)
        h.trigger(QStringLiteral("mnuNew"));
    for (const QString &item : items) {
        QVERIFY2(h.action(item)->isEnabled(), qPrintable(item));
        h.trigger(item);
    }

    QCOMPARE(h.checked(kCheckable), marks);
    QVERIFY(!h.w().findChild<QMenu *>(QStringLiteral("mnuAuto"))->menuAction()->isChecked());
    const Settings &s = h.settings;
    QCOMPARE(int(s.voice), voice);
    QCOMPARE(int(s.stepping), mode);
    QCOMPARE(double(s.intervalSeconds), interval);
    QCOMPARE(int(s.pool), pool);
    QCOMPARE((QStringList{h.text("lblModusZahl"), h.text("lblModusSchalten"),
                          h.text("lblletzteModusZahl"), h.text("lblStimmenModus")}),
             status);
    QCOMPARE(h.caption(), caption);
    const bool gameRuns = gameFirst || items.contains(QStringLiteral("mnu75Zahlen"))
        || items.contains(QStringLiteral("mnu90Zahlen"));
    QCOMPARE(h.button(QStringLiteral("cmdWeiter"))->isEnabled(), gameRuns);
    QVERIFY(!h.autoTimer()->isEnabled()); // no item starts the timer
    QCOMPARE(h.w().intervalDialog() != nullptr, items.contains(QStringLiteral("mnuManuellSec")));
}

// Choosing a pool, also the one in force, draws a new order at once.
void TestSettingsMenus::poolChoiceStartsNewGame_data()
{
    QTest::addColumn<QString>("setup");  // stepping item chosen before the game
    QTest::addColumn<int>("presses");    // presses of the step button before the choice
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("caption");

    QTest::newRow("75 again, manual, 3 shown") << "mnuManuell" << 3 << "mnu75Zahlen" << "Start";
    QTest::newRow("90, manual, 3 shown") << "mnuManuell" << 3 << "mnu90Zahlen" << "Start";
    QTest::newRow("75 again, manual, none shown")
        << "mnuManuell" << 0 << "mnu75Zahlen" << "Weiter";
    QTest::newRow("90, automatic idle") << "mnu10Sec" << 0 << "mnu90Zahlen" << "Start";
    QTest::newRow("75 again, automatic paused") << "mnu10Sec" << 2 << "mnu75Zahlen" << "Start";
}

void TestSettingsMenus::poolChoiceStartsNewGame()
{
    QFETCH(QString, setup);
    QFETCH(int, presses);
    QFETCH(QString, chosen);
    QFETCH(QString, caption);

    Harness h;
    h.trigger(QStringLiteral("mnuNew"));
    h.trigger(setup);
    const bool automatic = setup != QLatin1String("mnuManuell");
    for (int i = 0; i < presses; ++i) {
        h.press();
        if (automatic && i == 0) {
            QVERIFY(h.autoTimer()->tick());
            QVERIFY(h.autoTimer()->tick());
        }
    }
    if (automatic && presses == 2)
        QCOMPARE(h.caption(), QStringLiteral("Pause"));
    QVERIFY(h.action(chosen)->isEnabled());
    const auto orderBefore = h.caller->order();
    const int reseeds = h.f.random.reseeds;

    h.trigger(chosen);
    const int size = chosen == QLatin1String("mnu75Zahlen") ? 75 : 90;
    QCOMPARE(h.f.random.reseeds, reseeds + 1);
    QVERIFY(h.caller->order() != orderBefore);
    QVERIFY(h.order(size) != 0);
    QCOMPARE(h.order(76) != 0, size == 90);
    QCOMPARE(h.merker(), 0);
    QVERIFY(h.text("lblAnzahlZahlen").isEmpty());
    QVERIFY(h.display().isEmpty());
    QVERIFY(h.shown().isEmpty());
    QCOMPARE(h.caption(), caption);
    QCOMPARE(h.text("lblModusSchalten"),
             automatic ? QStringLiteral("10 Sekunden") : QStringLiteral("Manuell"));
    QCOMPARE(h.text("lblletzteModusZahl"), QString::number(size));
    QVERIFY(!h.autoTimer()->isEnabled());
}

void TestSettingsMenus::poolChoiceRefreshesVisibleSheet_data()
{
    QTest::addColumn<bool>("sheetOpen");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("visible76");

    QTest::newRow("open, 90") << true << "mnu90Zahlen" << true;
    QTest::newRow("open, 75") << true << "mnu75Zahlen" << false;
    QTest::newRow("hidden, 90 leaves the layout") << false << "mnu90Zahlen" << false;
}

void TestSettingsMenus::poolChoiceRefreshesVisibleSheet()
{
    QFETCH(bool, sheetOpen);
    QFETCH(QString, chosen);
    QFETCH(bool, visible76);

    Harness h;
    h.trigger(QStringLiteral("mnuNew"));
    h.click(QStringLiteral("cmdZahlenTafel"));
    CheckSheet &sheet = h.sheet();
    QVERIFY(sheet.isVisible());
    QVERIFY(!sheet.cmdZahl(76)->isVisibleTo(&sheet));
    if (!sheetOpen)
        sheet.hide();

    h.trigger(chosen);
    QCOMPARE(sheet.isVisible(), sheetOpen);
    QCOMPARE(sheet.cmdZahl(76)->isVisibleTo(&sheet), visible76);
    QCOMPARE(sheet.cmdZahl(90)->isVisibleTo(&sheet), visible76);
    QVERIFY(sheet.cmdZahl(75)->isVisibleTo(&sheet));
}

// A new interval while the timer runs takes effect at the next tick.
void TestSettingsMenus::intervalChosenWhileRunning_data()
{
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("5 to 10") << "mnu5Sec" << "mnu10Sec" << 5000 << 10000;
    QTest::newRow("5 to 20") << "mnu5Sec" << "mnu20Sec" << 5000 << 20000;
    QTest::newRow("20 to 5") << "mnu20Sec" << "mnu5Sec" << 20000 << 5000;
    QTest::newRow("10 to 10") << "mnu10Sec" << "mnu10Sec" << 10000 << 10000;
}

void TestSettingsMenus::intervalChosenWhileRunning()
{
    QFETCH(QString, running);
    QFETCH(QString, chosen);
    QFETCH(int, before);
    QFETCH(int, after);

    Harness h;
    h.trigger(QStringLiteral("mnuNew"));
    h.trigger(running);
    h.press();
    QVERIFY(h.autoTimer()->tick());

    h.trigger(chosen);
    QCOMPARE(h.caption(), QStringLiteral("Start"));
    QVERIFY(h.autoTimer()->isEnabled());
    QCOMPARE(h.autoTimer()->interval(), before);

    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.merker(), 2);
    QCOMPARE(h.display(), QString::number(h.order(2)));
    QCOMPARE(h.caption(), QStringLiteral("Stop"));
    QCOMPARE(h.autoTimer()->interval(), after);
    QVERIFY(h.autoTimer()->isEnabled());
    QCOMPARE(h.playedIds().last(), 10001 + h.order(2));
}

// "Manuell schalten" during a running game: the pending tick comes once and
// hands over to a manual step, so two numbers follow at once.
void TestSettingsMenus::manualChosenWhileRunning()
{
    Harness h;
    h.trigger(QStringLiteral("mnuNew"));
    h.trigger(QStringLiteral("mnu5Sec"));
    h.press();
    QVERIFY(h.autoTimer()->tick());
    QVERIFY(h.autoTimer()->tick());

    h.trigger(QStringLiteral("mnuManuell"));
    QCOMPARE(h.caption(), QStringLiteral("Weiter"));
    QVERIFY(h.autoTimer()->isEnabled());

    QVERIFY(h.autoTimer()->tick());
    QCOMPARE(h.merker(), 4);
    QCOMPARE(h.display(), QString::number(h.order(4)));
    QCOMPARE(h.text("lblAnzahlZahlen"), QStringLiteral("4"));
    QList<int> firstFour{h.order(1), h.order(2), h.order(3), h.order(4)};
    std::sort(firstFour.begin(), firstFour.end());
    QCOMPARE(h.shown(), firstFour);
    // The third number was marked but never announced.
    QCOMPARE(h.playedIds(), (QList<int>{10001 + h.order(1), 10001 + h.order(2),
                                     10001 + h.order(4)}));
    QVERIFY(!h.autoTimer()->isEnabled());
    QVERIFY(!h.autoTimer()->tick());
    QVERIFY(!h.action(QStringLiteral("mnu75Zahlen"))->isEnabled());

    h.press();
    QCOMPARE(h.merker(), 5);
    QCOMPARE(h.playedIds().last(), 10001 + h.order(5));
}

// The next announcement takes the new voice; the game is untouched.
void TestSettingsMenus::voiceChosenWhileRunning_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::newRow("manual") << false;
    QTest::newRow("automatic") << true;
}

void TestSettingsMenus::voiceChosenWhileRunning()
{
    QFETCH(bool, automatic);

    Harness h;
    h.trigger(QStringLiteral("mnuNew"));
    if (automatic) {
        h.trigger(QStringLiteral("mnu5Sec"));
        h.press();
    }
    const auto step = [&] { return automatic ? h.autoTimer()->tick() : (h.press(), true); };
    QVERIFY(step());
    h.trigger(QStringLiteral("mnuMännlich"));
    QCOMPARE(h.caption(), automatic ? QStringLiteral("Stop") : QStringLiteral("Weiter"));
    QVERIFY(step());
    QCOMPARE(h.playedIds(), (QList<int>{10001 + h.order(1), 20001 + h.order(2)}));
    h.trigger(QStringLiteral("mnuWeiblich"));
    QVERIFY(step());
    QCOMPARE(h.playedIds().last(), 10001 + h.order(3));
}

QTEST_MAIN(TestSettingsMenus)
#include "test_settingsmenus.moc"
