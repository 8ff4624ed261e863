// The real platform services that need no server: the timer and message boxes.
#include "platform/qt/qtmessagebox.h"
#include "platform/qt/qttimer.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

using namespace kugelfon;

class TestQtServices : public QObject {
    Q_OBJECT
private slots:
    // The real timer: an interval of 0 never fires, setting the interval
    // starts it anew, and a disabled timer is quiet.
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
        QVERIFY2(ticks[0] >= restarted + 580, qPrintable(QString("%1 %2").arg(restarted).arg(ticks[0])));
        timer.setInterval(20);
        timer.setEnabled(false);
        ticks.clear();
        QTest::qWait(80);
        QCOMPARE(ticks.size(), 0);
    }

    void messageBoxes_data()
    {
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("answerBy"); // a button, or a key pressed on the box
        QTest::addColumn<int>("answer");
        QTest::newRow("OK by Esc, own title") << false << "Weiterspielen?" << "Esc" << kAnswerOk;
        QTest::newRow("Nein") << true << "" << "&Nein" << kAnswerNo;
        QTest::newRow("Enter on Ja") << true << "" << "Return" << kAnswerYes;
        QTest::newRow("access key N") << true << "" << "N" << kAnswerNo;
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
        QStringList seen;
        QTimer::singleShot(0, [&] {
            QMessageBox *box = nullptr;
            const auto ready = [&] {
                box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                return box && ticks >= 3;
            };
            QVERIFY(QTest::qWaitFor(ready, 5000) || box);
            QMap<QString, QAbstractButton *> buttons;
            for (QAbstractButton *b : box->buttons())
                buttons[b->text()] = b;
            seen << box->windowTitle() << box->text() << buttons.keys().join(',')
                 << (box->icon() == QMessageBox::NoIcon ? "no icon" : "icon");
            if (question) {
                QTest::keyClick(box, Qt::Key_Escape);
                box->close();
                QCoreApplication::processEvents();
                seen << (box->isVisible() ? "stays open" : "closed")
                     << (box->windowFlags().testFlag(Qt::WindowCloseButtonHint) ? "close box" : "no close box");
            }
            if (buttons.contains(answerBy))
                buttons[answerBy]->click();
            else
                QTest::keySequence(box, QKeySequence(answerBy));
        });
        QCOMPARE(QtMessageBoxes().show(nullptr, "Erste Zeile\rzweite Zeile", question ? MsgButtons::YesNo : MsgButtons::Ok,
                                       title),
                 answer);
        const QString buttons = question ? "&Ja,&Nein|no icon|stays open|close box" : "OK|no icon";
        QCOMPARE(seen, QString("%1|Erste Zeile\nzweite Zeile|%2").arg(title.isEmpty() ? "Kugelfon" : title, buttons).split('|'));
        QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));
    }
};

QTEST_MAIN(TestQtServices)
#include "test_qtservices.moc"
