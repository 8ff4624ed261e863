// The check window on the fake caller: a ticket rebuilt from its number with
// the game's marks, the verdict per block, the hall showing it, every kind of
// wrong number, and the claim's question that blocks the main window only.
#include "fakes/fakes.h"
#include "fakes/testkit.h"

#include "platform/qt/qtmessagebox.h"
#include "tickets/ticketverdict.h"
#include "ui/check/checkwindow.h"
#include "ui/hall/halldisplay.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QtTest>
#include <private/qguiapplication_p.h>
using namespace kugelfon;
using namespace kugelfon::test;

namespace {

// "75 2 3 5 +": pool, blocks, rows, columns, free cells.
NumberedTicket ticketOf(const QString &layout)
{
    const QStringList s = layout.split(' ');
    return buildNumberedTicket({s[0].toInt(), s[1].toInt(), s[2].toInt(), s[3].toInt(), s[4] == "+"}, 123457, 7);
}
QString numberOf(const NumberedTicket &t) { return encodeCheckNumber(t.layout, t.series, t.index); }

// The printed numbers of "b1" (a block), "b1r2" (a row) or "b1r2-1" (a row
// but its last one), in order.
QList<int> numbersOf(const NumberedTicket &t, const QString &what)
{
    const QStringList p = what.split(QRegularExpression("[br-]"), Qt::SkipEmptyParts);
    QList<int> out;
    for (int r = 1; !p.isEmpty() && r <= t.layout.rows; ++r)
        for (int c = 1; c <= t.layout.columns; ++c)
            if ((p.size() < 2 || p[1].toInt() == r) && printedCell(t, p[0].toInt(), r, c))
                out << t.numbers.at(p[0].toInt(), r, c);
    return out.mid(0, out.size() - (p.size() > 2 ? p[2].toInt() : 0));
}

struct Harness {
    bool realBoxes;
    FakeServices f;
    QtMessageBoxes boxes;
    Caller caller{services()};
    CheckSheet sheet{caller};
    MainWindow window{caller, sheet, services()};
    HallDisplay hall{caller, f.screens, window, &window.shownTicket()};
    explicit Harness(bool real = false) : realBoxes(real) { window.startUp(), window.show(), void(QTest::qWaitForWindowActive(&window)); }
    Services services() { Services s = f.services(); return realBoxes ? (s.messages = boxes, s) : s; }
    CheckWindow *check() { return static_cast<CheckWindow *>(window.checkWindow()); }
    template <class T = QLabel> T *at(const char *name) { return child<T>(*check(), QString::fromUtf8(name)); }
    // A new game whose first numbers are `first`, then `steps` called.
    void game(Pool pool, const QList<int> &first, int steps)
    {
        caller.choosePool(pool); // a new game of its own: the order below comes after it
        for (int n : first) f.random.queued << (n - 0.5) / poolSize(pool);
        caller.newGame(), call(steps);
    }
    void call(int steps) { for (int i = 0; i < steps; ++i) caller.pressStep(); }
    void type(const QString &n) { auto *e = at<QLineEdit>("txtPrüfnummer"); e->clear(), QTest::keyClicks(e, n), QTest::keyClick(e, Qt::Key_Return); }
    QString verdict() { return at<QPlainTextEdit>("txtUrteil")->toPlainText(); }
    // Every cell of the window's ticket, and of the hall's while it shows
    // one, coloured as the game marks its number; "" when all are.
    QString wrongCells()
    {
        const QImage seen = at<QWidget>("picSchein")->grab().toImage(), lit = hall.grab().toImage();
        const NumberedTicket &t = *check()->ticket();
        QStringList wrong;
        const int rows = t.layout.rows, columns = t.layout.columns;
        for (int i = 0; i < t.layout.blocks * rows * columns; ++i) {
            const int b = i / (rows * columns) + 1, r = i / columns % rows + 1, c = i % columns + 1;
            const bool printed = printedCell(t, b, r, c), marked = caller.view().marked.test(size_t(t.numbers.at(b, r, c)));
            const QRect h = hall.ticketCellRect(b, r, c);
            if (seen.pixelColor(check()->cellRect(b, r, c).topLeft() + QPoint(3, 3)) != (!printed ? QColor(Qt::white) : marked ? kShown : kNotShown)
                || (!h.isEmpty() && printed && (lit.pixelColor(h.topLeft() + QPoint(3, 3)) == QColor(255, 212, 0)) != marked))
                wrong << QStringLiteral("%1/%2/%3").arg(b).arg(r).arg(c);
        }
        return wrong.join(' ');
    }
};

} // namespace

class TestCheckWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { flushDeletes(); }

    // Checked after the calls before "|", then the calls after it: the
    // window's lines, and every cell on the window and on the hall. Only
    // printed numbers count, so a number under a free cell fills nothing.
    void window_data()
    {
        QTest::addColumn<QString>("ticket"); QTest::addColumn<int>("game"); QTest::addColumn<QString>("calls"); QTest::addColumn<QString>("seen");
        QTest::newRow("full row") << "75 1 3 5 -" << 75 << "b1r2" << "Block 1: Reihe 2 voll. Noch offen: Reihe 1 (5 Zahlen), Reihe 3 (5 Zahlen).|In diesem Spiel gezogen: 5 von 75 Zahlen|";
        QTest::newRow("full block") << "90 1 3 9 +" << 90 << "b1" << "Block 1: ganzer Block voll.|In diesem Spiel gezogen: 24 von 90 Zahlen|";
        QTest::newRow("unfinished") << "75 1 2 5 +" << 75 << "b1r1-1 b1r2-2" << "Block 1: keine Reihe voll. Noch offen: Reihe 1 (1 Zahl), Reihe 2 (2 Zahlen).|In diesem Spiel gezogen: 5 von 75 Zahlen|";
        QTest::newRow("follows the calls") << "75 1 2 5 -" << 75 << "b1r1-1|b1r1" << "Block 1: Reihe 1 voll. Noch offen: Reihe 2 (5 Zahlen).|In diesem Spiel gezogen: 5 von 75 Zahlen|";
        QTest::newRow("the free cells only") << "75 1 3 5 +" << 75 << "free" << "Block 1: keine Reihe voll. Noch offen: Reihe 1 (4 Zahlen), Reihe 2 (4 Zahlen), Reihe 3 (4 Zahlen).|In diesem Spiel gezogen: 3 von 75 Zahlen|";
        QTest::newRow("two blocks") << "90 2 2 9 -" << 90 << "b2" << "Block 1: keine Reihe voll. Noch offen: Reihe 1 (8 Zahlen), Reihe 2 (8 Zahlen).\nBlock 2: ganzer Block voll.|In diesem Spiel gezogen: 18 von 90 Zahlen|";
        QTest::newRow("ticket of 90") << "90 1 3 5 -" << 75 << "" << "Block 1: keine Reihe voll. Noch offen: Reihe 1 (5 Zahlen), Reihe 2 (5 Zahlen), Reihe 3 (5 Zahlen).|In diesem Spiel gezogen: 0 von 75 Zahlen|Dieser Spielschein ist für 90 Zahlen, gespielt wird mit 75 Zahlen.";
        QTest::newRow("ticket of 75") << "75 1 1 5 -" << 90 << "b1r1" << "Block 1: ganzer Block voll.|In diesem Spiel gezogen: 5 von 90 Zahlen|Dieser Spielschein ist für 75 Zahlen, gespielt wird mit 90 Zahlen.";
    }
    void window()
    {
        QFETCH(QString, ticket); QFETCH(int, game); QFETCH(QString, calls); QFETCH(QString, seen);
        Harness h;
        const NumberedTicket t = ticketOf(ticket);
        QList<int> before, after; // the ticket's numbers called before it is checked, and after
        for (const QString &part : calls.section('|', 0, 0).split(' ', Qt::SkipEmptyParts))
            before << numbersOf(t, part);
        for (int r = 1; calls == "free" && r <= t.layout.rows; ++r)
            before << t.numbers.at(1, r, t.freeColumn[1][r]);
        for (int n : numbersOf(t, calls.section('|', 1)))
            after << (before.contains(n) ? QList<int>() : QList<int>{n});
        h.game(game == 90 ? Pool::Of90 : Pool::Of75, before + after, int(before.size()));
        QTest::keyClick(&h.window, Qt::Key_P, Qt::ControlModifier);
        h.type(groupCheckNumber(numberOf(t)).replace(4, 1, "-")); // pasted with a dash
        QVERIFY(h.at("lblFehler")->text().isEmpty() && !h.hall.ticketCellRect(1, 1, 1).isEmpty());
        QCOMPARE(h.wrongCells(), "");
        h.call(int(after.size()));
        QCOMPARE(h.wrongCells(), "");
        // A new number takes the ticket off the hall; so does the window's closing.
        QCOMPARE(h.hall.ticketCellRect(1, 1, 1).isEmpty(), !after.isEmpty());
        const QStringList want = seen.split('|');
        QCOMPARE(h.verdict(), want[0]);
        QCOMPARE(h.at("lblGezogen")->text(), want[1]);
        QCOMPARE(h.at("lblAnderePool")->text(), want[2]);
        QVERIFY(h.check()->close() && h.hall.ticketCellRect(1, 1, 1).isEmpty());
    }
    // Each kind of wrong number says what is wrong, keeps the text for
    // correcting and leaves the ticket shown before, on the hall too.
    void badNumber_data()
    {
        QTest::addColumn<QString>("typed"); QTest::addColumn<QString>("what");
        const QString good = numberOf(ticketOf("75 2 3 5 +")), body = good.mid(1, 14);
        const auto withCheck = [](const QString &digits) { return digits + QString::number(dammCheckDigit(digits)); };
        int swap = 1;
        while (good[swap] == good[swap + 1] && ++swap) {}
        QTest::newRow("letter") << QString(good).replace(5, 1, "O") << "Sie besteht nur aus Ziffern.";
        QTest::newRow("blank") << "  " << "Sie hat 16 Ziffern, eingegeben sind 0.";
        QTest::newRow("short") << good.chopped(1) << "Sie hat 16 Ziffern, eingegeben sind 15.";
        QTest::newRow("long") << good + "3" << "Sie hat 16 Ziffern, eingegeben sind 17.";
        QTest::newRow("digit") << QString(good).replace(7, 1, QChar('0' + (good[7].digitValue() + 3) % 10)) << "Eine Ziffer ist falsch oder zwei sind vertauscht.";
        QTest::newRow("swap") << good.left(swap) + good[swap + 1] + good[swap] + good.mid(swap + 2) << "Eine Ziffer ist falsch oder zwei sind vertauscht.";
        QTest::newRow("version") << withCheck("2" + body) << "Sie stammt nicht von diesem Kugelfon.";
        QTest::newRow("impossible") << "1000 0000 0000 9981" << "Zu ihr gibt es keinen Spielschein."; // 25 x 20 of 75
    }
    void badNumber()
    {
        QFETCH(QString, typed); QFETCH(QString, what);
        Harness h;
        h.window.findChild<QAction *>("mnuPrüfen")->trigger();
        h.type(numberOf(ticketOf("75 2 3 5 +")));
        const QString verdict = h.verdict();
        h.type(typed);
        QCOMPARE(h.at("lblFehler")->text(), "Die Prüfnummer stimmt nicht. " + what + " Bitte noch einmal genau abschreiben.");
        QCOMPARE(h.at<QLineEdit>("txtPrüfnummer")->text(), typed);
        QCOMPARE(h.verdict(), verdict);
        QVERIFY(!h.hall.ticketCellRect(1, 1, 1).isEmpty());
    }
    // At "Bingo" the open window comes up beside the sheet, emptied and with
    // the keyboard; while "Weiterspielen?" waits it checks a ticket, and the
    // main window stays blocked.
    void claim()
    {
        Harness h(true);
        h.game(Pool::Of75, {}, 2);
        QTest::keyClick(&h.window, Qt::Key_P, Qt::ControlModifier);
        const QString number = numberOf(ticketOf("75 1 3 5 +"));
        h.type(number);
        h.check()->move(h.window.geometry().topLeft());
        h.caller.claimBingo();
        for (int i = 0; i < 5; ++i, QCoreApplication::processEvents())
            QVERIFY(h.f.timers.timer(TimerRole::BingoLetters)->tick());
        auto *field = h.at<QLineEdit>("txtPrüfnummer");
        QVERIFY(!h.check()->frameGeometry().intersects(h.sheet.frameGeometry()));
        // As the question waits: emptied, with the keyboard, taking a number;
        // the main window blocked, and the question in sight.
        QString question = "none", typed;
        bool empty = false, active = false, focus = false, mainBlocked = false, checkBlocked = true, checked = false, covered = true;
        QTimer::singleShot(100, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            const auto blocked = [](QWidget &w) { return QGuiApplicationPrivate::instance()->isWindowBlocked(w.windowHandle()); };
            if (box)
                question = box->windowTitle(), covered = box->frameGeometry().intersects(h.check()->frameGeometry());
            empty = !h.check()->ticket().has_value(), active = QApplication::activeWindow() == h.check(), focus = field->hasFocus();
            typed = field->text(), mainBlocked = blocked(h.window), checkBlocked = blocked(*h.check());
            QTest::keyClicks(field, number);
            QTest::mouseClick(h.at<QAbstractButton>("cmdPrüfen"), Qt::LeftButton);
            checked = h.check()->ticket().has_value();
            if (box) QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
        });
        QVERIFY(h.f.timers.timer(TimerRole::BingoLetters)->tick());
        QCOMPARE(question, "Weiterspielen?");
        QVERIFY(empty && typed.isEmpty());
        QVERIFY(active && focus);
        QVERIFY(mainBlocked && !checkBlocked);
        QVERIFY(checked);
        QVERIFY(!covered);
    }
};

QTEST_MAIN(TestCheckWindow)
#include "test_checkwindow.moc"
