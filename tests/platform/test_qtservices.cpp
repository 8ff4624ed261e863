// The real platform services that need no server: timer, message boxes,
// screen metrics.
#include "platform/qtmessagebox.h"
#include "platform/qtscreenmetrics.h"
#include "platform/qttimer.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace kugelfon;

namespace {

// Answers the next modal box with the button of that text, reporting what
// the box showed.
struct BoxAnswer {
    QString title, text, buttons;
    bool hadIcon = true;
    // Answers once the box is up and ready() holds (or after 5 s regardless).
    void answerWith(const QString &buttonText, std::function<bool()> ready = [] { return true; })
    {
        auto *poll = new QTimer;
        auto *clock = new QElapsedTimer;
        clock->start();
        QObject::connect(poll, &QTimer::timeout, [this, buttonText, ready, poll, clock] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || (!ready() && clock->elapsed() < 5000))
                return;
            poll->stop();
            poll->deleteLater();
            delete clock;
            title = box->windowTitle();
            text = box->text();
            hadIcon = box->icon() != QMessageBox::NoIcon;
            QStringList names;
            QAbstractButton *target = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                names << b->text();
                if (b->text() == buttonText)
                    target = b;
            }
            names.sort();
            buttons = names.join(QLatin1Char(','));
            if (target)
                target->click();
        });
        poll->start(10);
    }
};

} // namespace

class TestQtServices : public QObject {
    Q_OBJECT
private slots:
    void timerNeverFiresAtZero()
    {
        QtProgramTimer timer;
        int ticks = 0;
        timer.setHandler([&] { ++ticks; });
        timer.setInterval(0);
        timer.setEnabled(true);
        QTest::qWait(100);
        QCOMPARE(ticks, 0);
        timer.setInterval(20);
        QTRY_VERIFY(ticks > 0);
        timer.setEnabled(false);
        const int stopped = ticks;
        QTest::qWait(80);
        QCOMPARE(ticks, stopped);
    }

    void settingTheIntervalRestartsIt()
    {
        QtProgramTimer timer;
        QElapsedTimer clock;
        qint64 firedAt = -1;
        timer.setHandler([&] {
            if (firedAt < 0)
                firedAt = clock.elapsed();
        });
        timer.setInterval(300);
        clock.start();
        timer.setEnabled(true);
        QTest::qWait(200);
        timer.setInterval(300); // the full interval starts anew
        QTRY_VERIFY_WITH_TIMEOUT(firedAt >= 0, 2000);
        QVERIFY2(firedAt >= 480, qPrintable(QString::number(firedAt)));
    }

    void ticksDoNotPileUp()
    {
        QtProgramTimer timer;
        int ticks = 0;
        timer.setHandler([&] { ++ticks; });
        timer.setInterval(20);
        timer.setEnabled(true);
        QThread::msleep(300); // a busy thread: about 15 ticks fall due
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY2(ticks <= 2, qPrintable(QString::number(ticks)));
        timer.setEnabled(false);
    }

    void messageBoxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("ok") << 0 << "OK" << kAnswerOk;
        QTest::newRow("yes") << 1 << "&Ja" << kAnswerYes;
        QTest::newRow("no") << 1 << "&Nein" << kAnswerNo;
    }
    void messageBoxes()
    {
        QFETCH(int, kind);
        QFETCH(QString, press);
        QFETCH(int, answer);
        QtMessageBoxes boxes;
        // A timer keeps ticking while the box waits.
        int ticks = 0;
        BoxAnswer seen;
        seen.answerWith(press, [&ticks] { return ticks >= 3; });
        QtProgramTimer timer;
        timer.setHandler([&] { ++ticks; });
        timer.setInterval(5);
        timer.setEnabled(true);
        const int result = boxes.show(nullptr, QStringLiteral("Erste Zeile\rzweite Zeile"),
                                      kind == 0 ? MsgButtons::Ok : MsgButtons::YesNo);
        timer.setEnabled(false);
        QCOMPARE(result, answer);
        QCOMPARE(seen.title, QStringLiteral("Kugelfon"));
        QCOMPARE(seen.text, QStringLiteral("Erste Zeile\nzweite Zeile"));
        QCOMPARE(seen.buttons, kind == 0 ? QStringLiteral("OK") : QStringLiteral("&Ja,&Nein"));
        QVERIFY(!seen.hadIcon);
        QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));

        BoxAnswer titled;
        titled.answerWith(QStringLiteral("OK"));
        boxes.show(nullptr, QStringLiteral("x"), MsgButtons::Ok, QStringLiteral("Weiterspielen?"));
        QCOMPARE(titled.title, QStringLiteral("Weiterspielen?"));
    }

    // Esc and the close request leave a question open; only its buttons
    // answer it: by the keyboard on the focused button or by access key.
    void questionIgnoresEscAndClose_data()
    {
        QTest::addColumn<QString>("answerBy");
        QTest::addColumn<int>("answer");
        QTest::newRow("Enter on Ja") << "enter" << kAnswerYes;
        QTest::newRow("Space on Nein") << "space-nein" << kAnswerNo;
        QTest::newRow("access key N") << "n" << kAnswerNo;
        QTest::newRow("access key J") << "j" << kAnswerYes;
    }
    void questionIgnoresEscAndClose()
    {
        QFETCH(QString, answerBy);
        QFETCH(int, answer);
        bool stillOpen = false;
        bool hasCloseButton = true;
        QTimer::singleShot(50, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            hasCloseButton = box->windowFlags().testFlag(Qt::WindowCloseButtonHint);
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            QCoreApplication::processEvents();
            stillOpen = box->isVisible();
            QAbstractButton *nein = nullptr;
            for (QAbstractButton *b : box->buttons())
                if (b->text() == QStringLiteral("&Nein"))
                    nein = b;
            if (answerBy == QLatin1String("enter"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (answerBy == QLatin1String("space-nein")) {
                nein->setFocus();
                QTest::keyClick(nein, Qt::Key_Space);
            } else
                QTest::keyClick(box, answerBy.at(0).toLatin1());
        });
        const int result = QtMessageBoxes().show(nullptr, QStringLiteral("Weiter?"), MsgButtons::YesNo);
        QVERIFY(stillOpen);
        QVERIFY(!hasCloseButton);
        QCOMPARE(result, answer);
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
