// The program as started from a shell: what it prints and how it ends.
#include <QProcess>
#include <QtTest>

class TestProgramStart : public QObject {
    Q_OBJECT
private:
    struct Run {
        int status = -1;
        QString err;
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
