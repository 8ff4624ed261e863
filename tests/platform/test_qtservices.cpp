// The real platform services that need no server: timer, message boxes,
// screen metrics.
#include "platform/qtmessagebox.h"
#include "platform/qtscreenmetrics.h"
#include "platform/qttimer.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace kugelfon;

class TestQtServices : public QObject {
    Q_OBJECT
private slots:
    // The real timer: an interval of 0 never fires, setting the interval
    // starts it anew, ticks that fell due while the thread was busy come
    // once, and a disabled timer is quiet.
    void realTimer()
    {
        QtProgramTimer timer;
        QElapsedTimer clock;
        QList<qint64> ticks;
        timer.setHandler([&] { ticks.append(clock.elapsed()); });
        timer.setInterval(0);
        timer.setEnabled(true);
        QTest::qWait(100);
        QCOMPARE(ticks.size(), 0);
        clock.start();
        timer.setInterval(600);
        QTest::qWait(200);
        const qint64 restarted = clock.elapsed();
        timer.setInterval(600);
        QTRY_VERIFY_WITH_TIMEOUT(!ticks.isEmpty(), 3000);
        QVERIFY2(ticks[0] >= restarted + 580, qPrintable(QStringLiteral("%1 %2").arg(restarted).arg(ticks[0])));
        timer.setInterval(20);
        QThread::msleep(300); // about 15 ticks fall due
        ticks.clear();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY2(ticks.size() <= 2, qPrintable(QString::number(ticks.size())));
        timer.setEnabled(false);
        ticks.clear();
        QTest::qWait(80);
        QCOMPARE(ticks.size(), 0);
    }

    void messageBoxes_data()
    {
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("answerBy");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK") << false << "" << "OK" << kAnswerOk;
        QTest::newRow("OK by Esc, own title") << false << "Weiterspielen?" << "esc" << kAnswerOk;
        QTest::newRow("Ja") << true << "" << "&Ja" << kAnswerYes;
        QTest::newRow("Nein") << true << "" << "&Nein" << kAnswerNo;
        QTest::newRow("Enter on Ja") << true << "" << "enter" << kAnswerYes;
        QTest::newRow("Space on Nein") << true << "" << "space" << kAnswerNo;
        QTest::newRow("access key N") << true << "" << "n" << kAnswerNo;
        QTest::newRow("access key J") << true << "" << "j" << kAnswerYes;
    }
    // No icon, lines split at carriage returns, the program's title unless
    // one is given; timers tick while the box waits. Esc and the close
    // request leave a question open: only its buttons answer it.
    void messageBoxes()
    {
        QFETCH(bool, question);
        QFETCH(QString, title);
        QFETCH(QString, answerBy);
        QFETCH(int, answer);
        QtProgramTimer timer;
        int ticks = 0;
        timer.setHandler([&] { ++ticks; });
        timer.setInterval(5);
        timer.setEnabled(true);
        QString seen;
        bool stillOpen = false;
        // Answers once the box is up and the timer has ticked meanwhile.
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || (ticks < 3 && waited.elapsed() < 5000))
                return;
            poll.stop();
            QMap<QString, QAbstractButton *> buttons;
            for (QAbstractButton *b : box->buttons())
                buttons[b->text()] = b;
            seen = QStringList{box->windowTitle(), box->text(), buttons.keys().join(QLatin1Char(','))}
                       .join(QLatin1Char('|'));
            QVERIFY(box->icon() == QMessageBox::NoIcon);
            if (question) {
                QVERIFY(!box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
                QTest::keyClick(box, Qt::Key_Escape);
                box->close();
                QCoreApplication::processEvents();
                stillOpen = box->isVisible();
            }
            if (answerBy == "esc")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (answerBy == "enter")
                QTest::keyClick(box, Qt::Key_Return);
            else if (answerBy == "space") {
                buttons["&Nein"]->setFocus();
                QTest::keyClick(buttons["&Nein"], Qt::Key_Space);
            } else if (answerBy.size() == 1)
                QTest::keyClick(box, answerBy.at(0).toLatin1());
            else
                buttons[answerBy]->click();
        });
        poll.start(10);
        const int result = QtMessageBoxes().show(nullptr, QStringLiteral("Erste Zeile\rzweite Zeile"),
                                                 question ? MsgButtons::YesNo : MsgButtons::Ok, title);
        timer.setEnabled(false);
        QCOMPARE(result, answer);
        QCOMPARE(seen, QStringLiteral("%1|Erste Zeile\nzweite Zeile|%2")
                           .arg(title.isEmpty() ? QStringLiteral("Kugelfon") : title,
                                question ? QStringLiteral("&Ja,&Nein") : QStringLiteral("OK")));
        QVERIFY(stillOpen == question);
        QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));
    }

    void screenInTwips()
    {
        // This test runs on a 1024 x 768 screen at 120 dots per inch, which
        // is measured as at 96: 15 twips per pixel.
        const ScreenMeasure m = QtScreenMetrics().measure();
        QCOMPARE(m.twipsPerPixelX, 15.0);
        QCOMPARE(m.twipsPerPixelY, 15.0);
        QCOMPARE(m.twipsWidth, 1024 * 15.0);
        QCOMPARE(m.twipsHeight, 768 * 15.0);
    }
};

QTEST_MAIN(TestQtServices)
#include "test_qtservices.moc"
