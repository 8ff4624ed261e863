#include "game/rules.h"

#include <QtTest>

using namespace kugelfon;

class TestRules : public QObject {
    Q_OBJECT
private slots:
    void recordingIds_data()
    {
        QTest::addColumn<int>("voice");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("id");
        QTest::newRow("female 1") << 1 << 1 << 10002;
        QTest::newRow("female 8") << 1 << 8 << 10009;
        QTest::newRow("female 9") << 1 << 9 << 10010;
        QTest::newRow("female 10") << 1 << 10 << 10011;
        QTest::newRow("female 75") << 1 << 75 << 10076;
        QTest::newRow("female 90") << 1 << 90 << 10091;
        QTest::newRow("male 1") << 2 << 1 << 20002;
        QTest::newRow("male 42") << 2 << 42 << 20043;
        QTest::newRow("male 90") << 2 << 90 << 20091;
        QTest::newRow("empty entry") << 1 << 0 << 10001;
        QTest::newRow("unknown voice") << 3 << 5 << -1;
    }
    void recordingIds()
    {
        QFETCH(int, voice);
        QFETCH(int, number);
        QFETCH(int, id);
        QCOMPARE(recordingIdForNumber(static_cast<qint16>(voice), number), id);
    }

    void everyNumberHasItsOwnRecording()
    {
        for (int voice = 1; voice <= 2; ++voice)
            for (int n = 0; n <= 90; ++n)
                QCOMPARE(recordingIdForNumber(static_cast<qint16>(voice), n),
                         voice * 10000 + 1 + n);
        QCOMPARE(recordingIdForBingo(1), 10000);
        QCOMPARE(recordingIdForBingo(2), 20000);
        QCOMPARE(recordingIdForBingo(0), -1);
    }

    void autoInterval_data()
    {
        QTest::addColumn<float>("seconds");
        QTest::addColumn<int>("ms");
        QTest::newRow("none chosen") << 0.0f << 0;
        QTest::newRow("1") << 1.0f << 1000;
        QTest::newRow("5") << 5.0f << 5000;
        QTest::newRow("7") << 7.0f << 7000;
        QTest::newRow("10") << 10.0f << 10000;
        QTest::newRow("20") << 20.0f << 20000;
        QTest::newRow("60") << 60.0f << 60000;
        QTest::newRow("half to even down") << 0.0025f << 2;
        QTest::newRow("negative") << -3.0f << 0;
    }
    void autoInterval()
    {
        QFETCH(float, seconds);
        QFETCH(int, ms);
        QCOMPARE(autoIntervalMs(seconds), ms);
    }

    void poolLimits()
    {
        QVERIFY(!poolUsedUp(1, 75));
        QVERIFY(poolUsedUp(1, 76));
        QVERIFY(!poolUsedUp(2, 90));
        QVERIFY(poolUsedUp(2, 91));
        QVERIFY(!poolUsedUp(2, 76));
    }

    void roundingHalfToEven()
    {
        QCOMPARE(roundHalfEven(0.5), 0LL);
        QCOMPARE(roundHalfEven(1.5), 2LL);
        QCOMPARE(roundHalfEven(2.5), 2LL);
        QCOMPARE(roundHalfEven(-2.5), -2LL);
        QCOMPARE(roundHalfEven(1023.0 / 2.0), 512LL);
    }

    void captionsReadAsNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("75") << "75" << 75.0;
        QTest::newRow("leading blank") << " 90" << 90.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("text") << "abc" << 0.0;
        QTest::newRow("trailing text") << "75 Zahlen" << 75.0;
    }
    void captionsReadAsNumbers()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
    }

    void unsupportedScreenText_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<QString>("text");
        QTest::newRow("1152x864") << 1152 << 864
                                  << QString::fromUtf8("Diese Auflösung  1152 x 864 wird nicht unterstützt.");
        QTest::newRow("1280x960") << 1280 << 960
                                  << QString::fromUtf8("Diese Auflösung  1280 x 960 wird nicht unterstützt.");
    }
    void unsupportedScreenText()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(QString, text);
        QCOMPARE(texts::unsupportedScreen(w, h), text);
    }

    void continueQuestionLines()
    {
        const QStringList lines = texts::continueQuestion().split(QLatin1Char('\r'));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QString::fromUtf8("Möchten Sie weiterspielen?"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2], QStringLiteral("Ja    = Spiel wird fortgesetzt,"));
        QCOMPARE(lines[3], QStringLiteral("Nein = Beendet dieses Spiel,"));
        QCOMPARE(lines[4], QStringLiteral("            und Start eines neuen Spieles."));
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "test_rules.moc"
