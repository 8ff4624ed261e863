#include "helpers.h"


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
        QCOMPARE(h.text("lblModusZahl"), QStringLiteral("75 Zahlen"));
        QCOMPARE(h.text("lblModusSchalten"), QStringLiteral("Manuell"));
        QCOMPARE(h.text("lblAnzahlZahlen"), QString());
        QCOMPARE(h.text("lblletzteModusZahl"), QStringLiteral("75"));
        QCOMPARE(h.text("lblStimmenModus"), QStringLiteral("Weiblich"));
        QCOMPARE(button(w, "cmdWeiter")->toolTip(), QStringLiteral("Weiter"));
        QVERIFY(h.action("mnuManuell")->isChecked());
        QVERIFY(h.action("mnu75Zahlen")->isChecked());
        QVERIFY(h.action("mnuWeiblich")->isChecked());
        QVERIFY(!h.action("mnuMännlich")->isChecked());
        QCOMPARE(qint16(h.settings.stepping), qint16(1));
        QCOMPARE(qint16(h.settings.pool), qint16(1));
        QCOMPARE(qint16(h.settings.voice), qint16(1));
        QCOMPARE(h.settings.intervalSeconds, 0.0f);
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("Kugelfon 1.1          ")));
        QCOMPARE(h.action("mnuNew")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(h.action("mnuDrucken")->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
        QCOMPARE(h.action("mnuMännlich")->text(), QString::fromUtf8("M&ännlich"));
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
            h.trigger("mnu90Zahlen");
        if (voice == 2)
            h.trigger("mnuMännlich");
        h.trigger("mnuNew");
        const int pool = ninety ? 90 : 75;
        QVERIFY(button(w, "cmdWeiter")->isEnabled());
        QCOMPARE(h.sheet().shownNumbers(), QList<int>());

        for (int step = 1; step <= pool; ++step) {
            h.press();
            QCOMPARE(int(h.caller->count()), step);
            const int shown = h.caller->order()[step];
            QCOMPARE(h.display(), QString::number(shown));
            QCOMPARE(h.text("lblAnzahlZahlen"), QString::number(step));
            QCOMPARE(h.sheet().shownNumbers(), h.firstOfOrder(step));
            QCOMPARE(h.sheet().numberColour(shown), QColor(128, 255, 128));
            QCOMPARE(h.playedIds().size(), step);
            QCOMPARE(h.playedIds().last(), voice * 10000 + 1 + shown);
        }
        QVERIFY(h.f.messages.shown.isEmpty());
        QCOMPARE(QFontInfo(label(w, "lblZahlenfeld")->font()).pixelSize(), 683); // 512 pt

        h.press(); // one past the pool
        QCOMPARE(h.f.messages.shown.size(), 1);
        const ShownBox box = h.f.messages.shown.first();
        QCOMPARE(box.text, kEndOfPool);
        QCOMPARE(box.buttons, MsgButtons::Ok);
        QCOMPARE(box.title, QStringLiteral("Kugelfon"));
        QCOMPARE(int(h.caller->count()), 0);
        QCOMPARE(h.display(), QString());
        QCOMPARE(h.text("lblAnzahlZahlen"), QString());
        QCOMPARE(button(w, "cmdWeiter")->text(), QStringLiteral("Start"));
        QCOMPARE(button(w, "cmdWeiter")->toolTip(), QStringLiteral("Start"));
        QCOMPARE(h.playedIds().size(), pool); // nothing announced at the end
        // The sheet keeps the finished game until the next new game.
        QCOMPARE(h.sheet().shownNumbers().size(), pool);
        if (!ninety) {
            for (int n = 76; n <= 90; ++n)
                QCOMPARE(h.caller->order()[n], qint16(0));
        }
    }

    void newGameDuringAGame()
    {
        Harness h;
        h.trigger("mnuNew");
        for (int i = 0; i < 12; ++i)
            h.press();
        h.sheet().show();
        const auto before = h.caller->order();
        QCOMPARE(h.sheet().shownNumbers().size(), 12);
        h.trigger("mnuNew");
        QCOMPARE(int(h.caller->count()), 0);
        QCOMPARE(h.display(), QString());
        QCOMPARE(h.text("lblAnzahlZahlen"), QString());
        QCOMPARE(h.sheet().shownNumbers(), QList<int>()); // all red at once
        QVERIFY(h.caller->order() != before);
        h.press();
        QCOMPARE(h.display(), QString::number(h.caller->order()[1]));
        QCOMPARE(h.sheet().shownNumbers(), QList<int>{h.caller->order()[1]});
    }

    void missingRecordingIsSilence()
    {
        Harness h;
        h.trigger("mnuNew");
        const int first = h.caller->order()[1];
        h.f.resources.missing = {10001 + first};
        h.press();
        QCOMPARE(h.f.resources.requested.last(), 10001 + first);
        QVERIFY(h.f.sound.played.isEmpty());
        QVERIFY(h.f.messages.shown.isEmpty());
        h.press(); // the game goes on with sound
        QCOMPARE(h.playedIds(), QList<int>{10001 + h.caller->order()[2]});
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
        h.trigger("mnuNew");
        h.press();
        const QString shown = h.display();
        h.f.messages.responder = [answer](const ShownBox &) { return answer; };
        if (viaCloseBox)
            w.close();
        else
            h.trigger("mnuCloseAll");

        QCOMPARE(h.f.messages.shown.size(), 1);
        const ShownBox box = h.f.messages.shown.first();
        QCOMPARE(box.text, kQuit);
        QCOMPARE(box.title, QStringLiteral("Programm schliessen"));
        QCOMPARE(box.buttons, MsgButtons::YesNo);
        if (answer == kAnswerYes) {
            QCOMPARE(h.f.app.quits, 1);
        } else {
            QCOMPARE(h.f.app.quits, 0);
            QVERIFY(w.isVisible());
            QCOMPARE(qint16(h.settings.pool), qint16(1));
            QCOMPARE(h.display(), shown);
            h.press(); // the game goes on
            QCOMPARE(int(h.caller->count()), 2);
        }
    }

    void numberFontFollowsScreenHeight_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("pixels"); // as at 96 dpi
        QTest::newRow("480") << 640 << 480 << 240 << 320;
        QTest::newRow("600") << 800 << 600 << 300 << 400;
        QTest::newRow("768") << 1024 << 768 << 384 << 512;
        QTest::newRow("1024") << 1280 << 1024 << 512 << 683;
    }
    void numberFontFollowsScreenHeight()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, points);
        QFETCH(int, pixels);
        Harness harness({}, QSize(w, h));
        QVERIFY(harness.loaded);
        harness.trigger("mnuNew");
        harness.press();
        QCOMPARE(int(harness.settings.screen.heightPx / 2), points);
        const QFont font = label(harness.w(), "lblZahlenfeld")->font();
        QCOMPARE(QFontInfo(font).pixelSize(), pixels);
        QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
    }
};

QTEST_MAIN(TestManualGame)
#include "test_manualgame.moc"
