#include "helpers.h"

#include "game/rules.h"

using namespace kugelfon;
using namespace kugelfon::test;

class TestManualGame : public QObject {
    Q_OBJECT
private slots:
    void startState()
    {
        Harness h;
        QVERIFY(h.loaded);
        MainWindow &w = h.w();
        for (const char *b : {"cmdWeiter", "cmdBingo", "cmdZahlenTafel"})
            QVERIFY2(!button(w, b)->isEnabled(), b);
        QCOMPARE(label(w, "lblModusZahl")->text(), QStringLiteral("75 Zahlen"));
        QCOMPARE(label(w, "lblModusSchalten")->text(), QStringLiteral("Manuell"));
        QCOMPARE(label(w, "lblAnzahlZahlen")->text(), QString());
        QCOMPARE(label(w, "lblletzteModusZahl")->text(), QStringLiteral("75"));
        QCOMPARE(label(w, "lblStimmenModus")->text(), QStringLiteral("Weiblich"));
        QCOMPARE(button(w, "cmdWeiter")->toolTip(), QStringLiteral("Weiter"));
        QVERIFY(action(w, "mnuManuell")->isChecked());
        QVERIFY(action(w, "mnu75Zahlen")->isChecked());
        QVERIFY(action(w, "mnuWeiblich")->isChecked());
        QVERIFY(!action(w, "mnuMännlich")->isChecked());
        QCOMPARE(frmIntern().SchaltModus, qint16(1));
        QCOMPARE(frmIntern().ZahlenModus, qint16(1));
        QCOMPARE(frmIntern().StimmenModus, qint16(1));
        QCOMPARE(frmIntern().ZahlenInterval, 0.0f);
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("Kugelfon 1.1          ")));
        QCOMPARE(action(w, "mnuNew")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(action(w, "mnuDrucken")->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
        QCOMPARE(action(w, "mnuMännlich")->text(), QString::fromUtf8("M&ännlich"));
    }

    void wholeGame_data()
    {
        QTest::addColumn<bool>("ninety");
        QTest::addColumn<int>("voice");
        QTest::newRow("75, female") << false << 1;
        QTest::newRow("90, male") << true << 2;
    }
    void wholeGame()
    {
        QFETCH(bool, ninety);
        QFETCH(int, voice);
        Harness h;
        MainWindow &w = h.w();
        if (ninety)
            action(w, "mnu90Zahlen")->trigger();
        if (voice == 2)
            action(w, "mnuMännlich")->trigger();
        action(w, "mnuNew")->trigger();
        const int pool = ninety ? 90 : 75;
        QVERIFY(button(w, "cmdWeiter")->isEnabled());
        QCOMPARE(h.sheet().shownNumbers(), QList<int>());

        for (int step = 1; step <= pool; ++step) {
            click(w, "cmdWeiter");
            QCOMPARE(int(w.game().MerkerZahl), step);
            const int shown = w.game().Zahlenfolge[step];
            QCOMPARE(label(w, "lblZahlenfeld")->text(), QString::number(shown));
            QCOMPARE(label(w, "lblAnzahlZahlen")->text(), QString::number(step));
            QCOMPARE(h.sheet().shownNumbers(), drawnSoFar(w));
            QCOMPARE(h.sheet().numberColour(shown), QColor(128, 255, 128));
            QCOMPARE(h.playedIds().size(), step);
            QCOMPARE(h.playedIds().last(), voice * 10000 + 1 + shown);
        }
        QVERIFY(h.fakes.messages.shown.isEmpty());
        QCOMPARE(label(w, "lblZahlenfeld")->font().pointSize(), 512);

        click(w, "cmdWeiter"); // one past the pool
        QCOMPARE(h.fakes.messages.shown.size(), 1);
        const ShownBox box = h.fakes.messages.shown.first();
        QCOMPARE(box.text, QStringLiteral("Zahlenende wurde erreicht, bitte starten Sie ein neues Spiel."));
        QCOMPARE(box.buttons, MsgButtons::Ok);
        QCOMPARE(box.title, QStringLiteral("Kugelfon"));
        QCOMPARE(int(w.game().MerkerZahl), 0);
        QCOMPARE(label(w, "lblZahlenfeld")->text(), QString());
        QCOMPARE(label(w, "lblAnzahlZahlen")->text(), QString());
        QCOMPARE(button(w, "cmdWeiter")->text(), QStringLiteral("Start"));
        QCOMPARE(button(w, "cmdWeiter")->toolTip(), QStringLiteral("Start"));
        QCOMPARE(h.playedIds().size(), pool); // nothing announced at the end
        // The sheet keeps the finished game until the next new game.
        QCOMPARE(h.sheet().shownNumbers().size(), pool);
        if (!ninety) {
            for (int n = 76; n <= 90; ++n)
                QCOMPARE(w.game().Zahlenfolge[n], qint16(0));
        }
    }

    void newGameDuringAGame()
    {
        Harness h;
        MainWindow &w = h.w();
        action(w, "mnuNew")->trigger();
        for (int i = 0; i < 12; ++i)
            click(w, "cmdWeiter");
        h.sheet().show();
        const auto before = w.game().Zahlenfolge;
        QCOMPARE(h.sheet().shownNumbers().size(), 12);
        action(w, "mnuNew")->trigger();
        QCOMPARE(int(w.game().MerkerZahl), 0);
        QCOMPARE(label(w, "lblZahlenfeld")->text(), QString());
        QCOMPARE(label(w, "lblAnzahlZahlen")->text(), QString());
        QCOMPARE(h.sheet().shownNumbers(), QList<int>()); // all red at once
        QVERIFY(w.game().Zahlenfolge != before);
        click(w, "cmdWeiter");
        QCOMPARE(label(w, "lblZahlenfeld")->text(), QString::number(w.game().Zahlenfolge[1]));
        QCOMPARE(h.sheet().shownNumbers(), QList<int>{w.game().Zahlenfolge[1]});
    }

    void missingRecordingIsSilence()
    {
        Harness h;
        MainWindow &w = h.w();
        action(w, "mnuNew")->trigger();
        const int first = w.game().Zahlenfolge[1];
        h.fakes.resources.missing = {10001 + first};
        click(w, "cmdWeiter");
        QCOMPARE(h.fakes.resources.requested.last(), 10001 + first);
        QVERIFY(h.fakes.sound.played.isEmpty());
        QVERIFY(h.fakes.messages.shown.isEmpty());
        click(w, "cmdWeiter"); // the game goes on with sound
        QCOMPARE(h.playedIds(), QList<int>{10001 + w.game().Zahlenfolge[2]});
    }

    void voiceChangeTakesEffectAtTheNextNumber()
    {
        Harness h;
        MainWindow &w = h.w();
        action(w, "mnuNew")->trigger();
        click(w, "cmdWeiter");
        action(w, "mnuMännlich")->trigger();
        click(w, "cmdWeiter");
        QCOMPARE(h.playedIds(), (QList<int>{10001 + w.game().Zahlenfolge[1],
                                            20001 + w.game().Zahlenfolge[2]}));
    }

    void quit_data()
    {
        QTest::addColumn<bool>("viaCloseBox");
        QTest::addColumn<int>("answer");
        QTest::newRow("menu, yes") << false << kAnswerYes;
        QTest::newRow("menu, no") << false << kAnswerNo;
        QTest::newRow("close box, yes") << true << kAnswerYes;
        QTest::newRow("close box, no") << true << kAnswerNo;
    }
    void quit()
    {
        QFETCH(bool, viaCloseBox);
        QFETCH(int, answer);
        Harness h;
        MainWindow &w = h.w();
        action(w, "mnuNew")->trigger();
        click(w, "cmdWeiter");
        const QString shown = label(w, "lblZahlenfeld")->text();
        h.fakes.messages.responder = [answer](const ShownBox &) { return answer; };
        if (viaCloseBox)
            w.close();
        else
            action(w, "mnuCloseAll")->trigger();

        QCOMPARE(h.fakes.messages.shown.size(), 1);
        const ShownBox box = h.fakes.messages.shown.first();
        QCOMPARE(box.text, QString::fromUtf8("Möchten Sie das Programm beenden?"));
        QCOMPARE(box.title, QStringLiteral("Programm schliessen"));
        QCOMPARE(box.buttons, MsgButtons::YesNo);
        QCOMPARE(int(w.game().Antwort), answer);
        if (answer == kAnswerYes) {
            QCOMPARE(h.fakes.app.quits, 1);
            QVERIFY(!internExists());
            QVERIFY(!w.hasCheckSheet());
        } else {
            QCOMPARE(h.fakes.app.quits, 0);
            QVERIFY(w.isVisible());
            QVERIFY(internExists());
            QCOMPARE(frmIntern().ZahlenModus, qint16(1));
            QCOMPARE(label(w, "lblZahlenfeld")->text(), shown);
            click(w, "cmdWeiter"); // the game goes on
            QCOMPARE(int(w.game().MerkerZahl), 2);
        }
    }

    void numberFontFollowsScreenHeight_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("points");
        QTest::newRow("480") << 640 << 480 << 240;
        QTest::newRow("600") << 800 << 600 << 300;
        QTest::newRow("768") << 1024 << 768 << 384;
        QTest::newRow("1024") << 1280 << 1024 << 512;
    }
    void numberFontFollowsScreenHeight()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, points);
        Harness harness(w, h);
        QVERIFY(harness.loaded);
        action(harness.w(), "mnuNew")->trigger();
        click(harness.w(), "cmdWeiter");
        QCOMPARE(int(harness.w().game().GrZaSchrift), points);
        QCOMPARE(label(harness.w(), "lblZahlenfeld")->font().pointSize(), points);
        QCOMPARE(label(harness.w(), "lblZahlenfeld")->font().family(), QStringLiteral("Times New Roman"));
    }
};

QTEST_MAIN(TestManualGame)
#include "test_manualgame.moc"
