// The program as started from a shell: what it prints and how it ends.
#include <QProcess>
#include <QtTest>

class TestProgramStart : public QObject {
    Q_OBJECT
private:
    struct Run {
        int status = -1;
        QString err;
        QString out;
        bool crashed = false;
    };
    static Run run(const QStringList &args, const QProcessEnvironment &env)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KUGELFON_EXE), args);
        Run r;
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished(2000);
            r.err = QStringLiteral("(no end within 20 s)");
            return r;
        }
        r.crashed = p.exitStatus() != QProcess::NormalExit;
        r.status = p.exitCode();
        r.err = QString::fromUtf8(p.readAllStandardError());
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        return r;
    }
    static QProcessEnvironment withoutDisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        return env;
    }

private slots:
    // Answered before any window, also without a display.
    void helpAndVersion()
    {
        const Run help = run({QStringLiteral("--help")}, withoutDisplay());
        QCOMPARE(help.status, 0);
        for (const char *word : {"Aufruf: kugelfon", "--fenster", "--saalanzeige", "--version",
                                 "Bildschirm"})
            QVERIFY2(help.out.contains(QString::fromUtf8(word)), qPrintable(help.out));
        const Run version = run({QStringLiteral("--version")}, withoutDisplay());
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, QStringLiteral("Kugelfon %1\n").arg(QStringLiteral(KUGELFON_VERSION)));
    }

    // Anything else on the command line: one German line naming it, status 2,
    // and no window, even with a display at hand.
    void unknownArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("option") << QStringList{QStringLiteral("--vollbild")} << "vollbild";
        QTest::newRow("after a known one")
            << QStringList{QStringLiteral("--fenster"), QStringLiteral("-x")} << "x";
        QTest::newRow("argument") << QStringList{QStringLiteral("spiel.txt")} << "spiel.txt";
        QTest::newRow("value") << QStringList{QStringLiteral("--fenster=ja")} << "--fenster=ja";
    }
    void unknownArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const Run r = run(args, env);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith(QStringLiteral("Kugelfon: ")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("„%1“").arg(named)), qPrintable(r.err));
        QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
        QVERIFY(r.out.isEmpty());
    }

    // Without a window system: one German line and status 1, not Qt's abort.
    void noDisplay_data()
    {
        QTest::addColumn<QString>("display");
        QTest::newRow("unset") << QString();
        QTest::newRow("unreachable") << QStringLiteral(":97");
    }
    void noDisplay()
    {
        QFETCH(QString, display);
        QProcessEnvironment env = withoutDisplay();
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        const Run r = run({}, env);
        QVERIFY2(!r.crashed, qPrintable(r.err));
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
        QVERIFY2(r.err.startsWith(QStringLiteral("Kugelfon")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("grafische Oberfläche")), qPrintable(r.err));
        if (!display.isEmpty())
            QVERIFY2(r.err.contains(display), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TestProgramStart)
#include "test_programstart.moc"
