// The print dialog as the organiser uses it: the lists that follow each other,
// the refusals, the summary, the print run with its progress, and leaving.
#include "dialoghelpers.h"
#include "platform/qttimer.h"

#include <QDialog>
#include <QLabel>
#include <QThread>

using namespace kugelfon;
using kugelfon::test::DialogHarness;

namespace {

const QString kTitle = QStringLiteral("Spielscheinoptionen");

QString notTaken(int ticket)
{
    return QStringLiteral("Der Druck wurde abgebrochen: Der Drucker \u201EKeller Laser\u201C hat den Spielschein "
                          "%1 nicht angenommen.\rGedruckt wurden %2 von 6 Spielscheinen.")
        .arg(ticket)
        .arg(ticket - 1);
}

} // namespace

class TestPrintDialog : public QObject {
    Q_OBJECT
private slots:
    void opensWithStartValuesEachTime();
    void listBounds_data();
    void listBounds();
    void listRulesOnLeaving();
    void blocksOfferedOnEntering_data();
    void blocksOfferedOnEntering();
    void summaryThenNoOrYes();
    void accessKeyRunsRulesBeforeActing();
    void cancelShowsMainWindow();
    void refusedBeforeSummary_data();
    void refusedBeforeSummary();
    void noPrinterInstalled();
    void defaultPrinterFoundByPrefix();
    void printerChoice_data();
    void printerChoice();
    void printerGoneBeforeRun();
    void runStoppedEarlyIsReported_data();
    void runStoppedEarlyIsReported();
    void timerTicksWaitForTheRun();
};

void TestPrintDialog::opensWithStartValuesEachTime()
{
    DialogHarness h;
    for (int opening = 1; opening <= 2; ++opening) {
        QVERIFY(h.open());
        QCOMPARE(h.dialog->windowTitle(), QStringLiteral("Kugelfon 1.1          \u00A9 2026 Kugelfon-Projekt"));
        QCOMPARE(h.dialog->size(), QSize(599, 381)); // 8985 x 5715 twips, fixed
        QCOMPARE(h.dialog->minimumSize(), h.dialog->maximumSize());
        QCOMPARE(h.dialog->findChild<QLabel *>(QStringLiteral("lblSpielBlöcke"))->text(),
                 QStringLiteral("Anzahl der Spielblöcke: (max. Anzahl von den   Spielreihen abhängig)"));
        QCOMPARE(h.button("cmdDruck")->text() + h.button("cmdAbbrechen")->text(), QStringLiteral("&DruckenAb&brechen"));
        QCOMPARE(h.lists(), QStringLiteral("5-10:5 1-15:1 1-3:1 1-100:1"));
        QVERIFY(h.option("opt75Zahlen")->isChecked() && h.option("opt75Zahlen")->hasFocus());
        QVERIFY(h.option("optNoFreizahl")->isChecked());
        QCOMPARE(DialogHarness::items(h.combo("cboDrucker")), (QStringList{"Büro", "Keller Laser"}));
        QCOMPARE(h.combo("cboDrucker")->currentText(), QStringLiteral("Keller Laser"));
        QVERIFY(h.button("cmdDruck")->isEnabled());
        if (opening == 2)
            break;
        // Focus order (Qt tabs only to the checked option of a group, so the
        // chain is read, not walked with Tab).
        QStringList order;
        for (QWidget *w = h.option("opt75Zahlen"); order.size() < 10;) {
            do
                w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus || w->inherits("QLineEdit"));
            order.append(w->objectName());
        }
        QCOMPARE(order.join(QLatin1Char(' ')), QStringLiteral("opt90Zahlen cmdAbbrechen cmdDruck cboReihen cboSpalten "
                                                 "cboBlöcke cboScheine cboDrucker optNoFreizahl optFreizahl"));
        // Change everything, leave, and open again.
        h.clickPool(90);
        QTest::mouseClick(h.option("optFreizahl"), Qt::LeftButton);
        h.type("cboSpalten", "9");
        h.tabAway();
        h.type("cboScheine", "7");
        QTest::mouseClick(h.button("cmdAbbrechen"), Qt::LeftButton);
        QCOMPARE(h.mainShown, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!h.dialog);
    }
}

void TestPrintDialog::listBounds_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<QList<int>>("rowsFor5To10Columns");
    QTest::addColumn<QList<int>>("columnsFor1To16Rows"); // below 5: none
    QTest::newRow("75") << 75 << QList<int>{15, 12, 10, 9, 8, 7}
                        << QList<int>{10, 10, 10, 10, 10, 10, 10, 9, 8, 7, 7, 6, 5, 5, 5, 4};
    QTest::newRow("90") << 90 << QList<int>{16, 15, 13, 11, 10, 9}
                        << QList<int>{10, 10, 10, 10, 10, 10, 10, 10, 10, 9, 8, 7, 7, 6, 6, 5};
}

void TestPrintDialog::listBounds()
{
    QFETCH(int, pool);
    QFETCH(QList<int>, rowsFor5To10Columns);
    QFETCH(QList<int>, columnsFor1To16Rows);
    DialogHarness h;
    QVERIFY(h.open());
    if (pool == 90)
        h.clickPool(90);
    for (int c = 5; c <= 10; ++c) {
        h.type("cboSpalten", QString::number(c));
        h.tabAway();
        QVERIFY2(h.list("cboReihen") == QStringLiteral("1-%1:1").arg(rowsFor5To10Columns[c - 5]),
                 qPrintable(QStringLiteral("%1 columns: rows %2").arg(c).arg(h.list("cboReihen"))));
    }
    // Typed beyond the list: a count that is no bound keeps the last one.
    const char *twenty = pool == 75 ? "1-3:1" : "1-4:1";
    for (const auto &[columns, rows] : {std::pair{"20", twenty}, {"0", twenty}, {"-5", "-:"}}) {
        h.type("cboSpalten", QString::fromLatin1(columns));
        h.tabAway();
        QCOMPARE(h.list("cboReihen"), QString::fromLatin1(rows));
    }
    for (int r = 1; r <= 16; ++r) {
        h.type("cboReihen", QString::number(r));
        h.tabAway();
        const int max = columnsFor1To16Rows[r - 1];
        QVERIFY2(h.range("cboSpalten") == (max < 5 ? QStringLiteral("-") : QStringLiteral("5-%1").arg(max)),
                 qPrintable(QStringLiteral("%1 rows: columns %2").arg(r).arg(h.range("cboSpalten"))));
    }
}

void TestPrintDialog::listRulesOnLeaving()
{
    // A row count still listed stays selected, else the first.
    for (const auto &[rows, after] : {std::pair{"12", "12"}, {"13", "1"}}) {
        DialogHarness h;
        QVERIFY(h.open());
        h.pick("cboReihen", rows);
        h.type("cboSpalten", "6");
        h.tabAway();
        QCOMPARE(h.list("cboReihen"), QStringLiteral("1-12:") + after);
    }
    // Leaving the columns keeps the blocks, leaving the rows sets them to 1.
    DialogHarness h;
    QVERIFY(h.open());
    h.pick("cboBlöcke", "3");
    h.pick("cboSpalten", "6");
    h.clickInto("cboScheine");
    QCOMPARE(h.combo("cboBlöcke")->currentText(), QStringLiteral("3"));
    h.pick("cboReihen", "1");
    h.clickInto("cboScheine");
    QCOMPARE(h.combo("cboBlöcke")->currentText(), QStringLiteral("1"));
    // From 90 to 75 numbers with 15 rows of 6: rows fall back, columns stay.
    h.clickPool(90);
    h.pick("cboReihen", "15");
    h.tabAway();
    h.clickPool(75);
    QCOMPARE(h.list("cboReihen"), QStringLiteral("1-12:1"));
    QCOMPARE(h.list("cboSpalten"), QStringLiteral("5-10:6"));
}

void TestPrintDialog::blocksOfferedOnEntering_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("blocks");
    for (const auto &[rows, blocks] : {std::pair{"1", "1-11:1"}, {"2", "1-6:1"}, {"3", "1-4:1"}, {"4", "1-3:1"},
                                       {"5", "1-2:1"}, {"7", "1-2:1"}, {"8", "1-1:1"}, {"22", "1-1:1"},
                                       {"23", "-:"}, {"0", "-:"}, {"-2", "-:"}, {"x", "-:"}})
        QTest::newRow(rows) << QString::fromLatin1(rows) << QString::fromLatin1(blocks);
}

void TestPrintDialog::blocksOfferedOnEntering()
{
    QFETCH(QString, rows);
    QFETCH(QString, blocks);
    DialogHarness h;
    QVERIFY(h.open());
    h.pick("cboBlöcke", "3");
    h.type("cboReihen", rows);
    h.clickInto("cboBlöcke");
    QCOMPARE(h.list("cboBlöcke"), blocks);
    if (blocks == "-:") { // no count of blocks: refused, nothing printed
        h.clickDrucken();
        QCOMPARE(h.fakes.messages.shown.size(), 1);
        QCOMPARE(h.fakes.messages.shown[0].buttons, MsgButtons::Ok);
        QVERIFY(h.printers.jobs.isEmpty());
    }
}

void TestPrintDialog::summaryThenNoOrYes()
{
    DialogHarness h;
    QVERIFY(h.open());
    int answer = kAnswerNo;
    h.fakes.messages.responder = [&](const test::ShownBox &) { return answer; };
    h.clickPool(90);
    h.pick("cboSpalten", "10");
    h.tabAway();
    h.pick("cboReihen", "2");
    h.tabAway(); // into the blocks: 1 to 6
    h.pick("cboBlöcke", "4");
    h.type("cboScheine", "3");
    h.clickDrucken();
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    const test::ShownBox box = h.fakes.messages.shown[0];
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.buttons, MsgButtons::YesNo);
    QCOMPARE(box.text, QStringLiteral("Diese Spielscheinwerte wurden von Ihnen eingestellt:\r\r"
                                      "        Zahlenmodus:  90 Zahlen \r\r"
                                      "        Zahlenspalten: 10\r"
                                      "        Zahlenreihen: 2\r"
                                      "        Zahlenblöcke: 4\r"
                                      "        Spielscheine: 3 Schein(e)\r\r"
                                      "Drucker: Keller Laser\r\r"
                                      "Wollen Sie mit diesen Werten Drucken?\r"));
    // No: everything stays but the blocks.
    QVERIFY(h.printers.jobs.isEmpty());
    QCOMPARE(h.lists(), QStringLiteral("5-10:10 1-9:2 1-6:1 1-100:3"));

    // Yes, with free cells on another printer: every ticket built afresh and
    // printed as a document of its own, no progress window for a short run,
    // no message after it, and the dialog stays.
    answer = kAnswerYes;
    QTest::mouseClick(h.option("optFreizahl"), Qt::LeftButton);
    h.pick("cboDrucker", "Büro");
    int windows = 0;
    h.printers.onStartJob = [&](int) { windows += h.dialog->findChildren<QDialog *>().size(); };
    h.clickDrucken();
    QCOMPARE(windows, 0);
    QCOMPARE(h.fakes.messages.shown.size(), 2);
    QCOMPARE(h.printers.jobs.size(), 3);
    QSet<QString> tickets;
    for (int n = 1; n <= 3; ++n) {
        const test::FakeJob &job = h.printers.jobs[n - 1];
        QCOMPARE(job.printer, QStringLiteral("Büro"));
        QCOMPARE(job.docName, QStringLiteral("Kugelfon 1.1 Spielschein %1 von 3").arg(n));
        QVERIFY(job.finished && job.page->engine().sessions == 1);
        QCOMPARE(job.page->engine().rects.size(), 20);
        const auto &texts = job.page->engine().texts;
        QCOMPARE(texts.size(), 2 + 2 * 9); // title, footer, 9 numbers a row
        tickets.insert(texts[1].text + texts[2].text + texts[3].text);
    }
    QCOMPARE(tickets.size(), 3);
    QVERIFY(h.dialog->isVisible());
    QCOMPARE(h.mainShown, 0);
    QCOMPARE(h.lists(), QStringLiteral("5-10:10 1-9:2 1-6:1 1-100:3"));
}

void TestPrintDialog::accessKeyRunsRulesBeforeActing()
{
    DialogHarness h;
    QVERIFY(h.open());
    QString summary;
    h.fakes.messages.responder = [&](const test::ShownBox &b) {
        summary = b.text;
        return kAnswerNo;
    };
    h.pick("cboBlöcke", "2");
    // 13 rows leave only 5 columns; the rule must run before the summary.
    h.pick("cboSpalten", "10");
    h.type("cboReihen", "13");
    QTest::keyClick(h.dialog, Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!summary.isEmpty(), 2000);
    QVERIFY(summary.contains(QStringLiteral("Zahlenspalten: 5\r")));
    QVERIFY(summary.contains(QStringLiteral("Zahlenblöcke: 1\r")));
}

void TestPrintDialog::cancelShowsMainWindow()
{
    for (const QString how : {"click", "alt", "esc", "close"}) {
        DialogHarness h;
        QVERIFY(h.open());
        h.type("cboReihen", "4");
        if (how == "click")
            QTest::mouseClick(h.button("cmdAbbrechen"), Qt::LeftButton);
        else if (how == "alt")
            QTest::keyClick(h.dialog, Qt::Key_B, Qt::AltModifier);
        else if (how == "esc")
            QTest::keyClick(h.combo("cboReihen")->lineEdit(), Qt::Key_Escape);
        else
            h.dialog->close();
        QTRY_COMPARE_WITH_TIMEOUT(h.mainShown, 1, 2000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(!h.dialog, qPrintable(how));
        QCOMPARE(h.mainShown, 1);
        QVERIFY(h.printers.jobs.isEmpty());
    }
}

void TestPrintDialog::refusedBeforeSummary_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("blocks");
    QTest::addColumn<QString>("tickets");
    QTest::addColumn<QString>("message");
    QTest::newRow("13 x 7 of 90") << 90 << "7" << "13" << "1" << "1"
        << "Ein Spielblock mit 13 Spielreihen und 7 Spielspalten braucht 91 verschiedene Zahlen, der "
           "Zahlenmodus hat nur 90.\rSpielreihen mal Spielspalten darf höchstens 90 sein.";
    QTest::newRow("16 x 5 of 75") << 75 << "5" << "16" << "1" << "1"
                                  << "braucht 80 verschiedene Zahlen, der Zahlenmodus hat nur 75.";
    QTest::newRow("blocks 0") << 75 << "5" << "1" << "0" << "1"
        << "Die Anzahl der Spielblöcke muss zwischen 1 und 20 liegen; eingegeben ist 0.";
    QTest::newRow("blocks 21") << 75 << "5" << "1" << "21" << "1" << "Spielblöcke muss zwischen 1 und 20 liegen";
    QTest::newRow("rows 26") << 90 << "3" << "26" << "1" << "1" << "Spielreihen muss zwischen 1 und 25 liegen";
    QTest::newRow("rows -1") << 90 << "5" << "-1" << "1" << "1" << "Spielreihen muss zwischen 1 und 25 liegen";
    QTest::newRow("columns 21") << 90 << "21" << "1" << "1" << "1" << "Spielspalten muss zwischen 1 und 20 liegen";
    QTest::newRow("tickets 0") << 75 << "5" << "1" << "1" << "0" << "Spielscheine muss zwischen 1 und 500 liegen";
    QTest::newRow("tickets 501") << 75 << "5" << "1" << "1" << "501" << "eingegeben ist 501.";
    QTest::newRow("tickets huge") << 75 << "5" << "1" << "1" << "123456789012345678901234567890"
                                  << "eingegeben ist 123456789012345678901234567890.";
    QTest::newRow("tickets 2.5") << 75 << "5" << "1" << "1" << "2.5"
        << "Die Anzahl der Spielscheine muss eine ganze Zahl sein; eingegeben ist \u201E2.5\u201C.";
    QTest::newRow("tickets empty") << 75 << "5" << "1" << "1" << ""
        << "Bitte geben Sie die Anzahl der Spielscheine ein (eine ganze Zahl von 1 bis 500).";
    QTest::newRow("columns letters") << 75 << "fünf" << "1" << "1" << "1"
        << "Spielspalten muss eine ganze Zahl sein; eingegeben ist \u201Efünf\u201C.";
    // The fake page's printable area is 200 x 287 mm.
    QTest::newRow("12 columns too wide") << 90 << "12" << "1" << "1" << "1"
        << "Der Spielschein passt nicht auf die Seite des Druckers \u201EKeller Laser\u201C: die Spielfelder "
           "reichen bis 208 mm nach rechts, bedruckbar sind 200.0 mm.\rBitte wählen Sie weniger Spielspalten.";
    QTest::newRow("3 blocks of 5 rows too long") << 75 << "5" << "5" << "3" << "1"
        << "Der Spielschein passt nicht auf die Seite des Druckers \u201EKeller Laser\u201C: die Spielfelder "
           "reichen bis 292 mm nach unten, bedruckbar sind 287.0 mm.\rBitte wählen Sie weniger Spielreihen "
           "oder Spielblöcke.";
}

void TestPrintDialog::refusedBeforeSummary()
{
    QFETCH(int, pool);
    QFETCH(QString, columns);
    QFETCH(QString, rows);
    QFETCH(QString, blocks);
    QFETCH(QString, tickets);
    QFETCH(QString, message);
    DialogHarness h;
    QVERIFY(h.open());
    if (pool == 90)
        h.clickPool(90);
    // Rows first (leaving them resets the blocks), blocks typed last.
    h.type("cboReihen", rows);
    h.type("cboSpalten", columns);
    h.type("cboScheine", tickets);
    h.type("cboBlöcke", blocks);
    h.combo("cboSpalten")->setEditText(columns); // the rules may have rebuilt it
    h.combo("cboReihen")->setEditText(rows);
    h.clickDrucken();
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    const test::ShownBox box = h.fakes.messages.shown[0];
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QCOMPARE(box.title, kTitle);
    QVERIFY2(box.text.contains(message), qPrintable(box.text));
    QVERIFY(h.printers.jobs.isEmpty());
}

void TestPrintDialog::noPrinterInstalled()
{
    DialogHarness h;
    h.printers = test::FakePrinters({}, QString());
    QVERIFY(h.open());
    QCOMPARE(h.combo("cboDrucker")->currentText(), QStringLiteral("Kein Drucker installiert"));
    QVERIFY(!h.button("cmdDruck")->isEnabled());
    h.clickDrucken();
    QTest::keyClick(h.dialog, Qt::Key_D, Qt::AltModifier);
    QTest::qWait(200);
    QVERIFY(h.fakes.messages.shown.isEmpty());
    // The other options still work; a typed printer name changes nothing.
    h.clickPool(90);
    h.pick("cboSpalten", "9");
    h.tabAway();
    QCOMPARE(h.range("cboReihen"), QStringLiteral("1-10"));
    h.type("cboDrucker", "Phantom");
    h.tabAway();
    QCOMPARE(h.combo("cboDrucker")->currentText(), QStringLiteral("Kein Drucker installiert"));
    QVERIFY(!h.button("cmdDruck")->isEnabled());
}

void TestPrintDialog::defaultPrinterFoundByPrefix()
{
    DialogHarness h;
    h.printers = test::FakePrinters({"Büro", "hp laserjet 4", "HP"}, "HP");
    QVERIFY(h.open());
    QCOMPARE(h.combo("cboDrucker")->currentText(), QStringLiteral("hp laserjet 4"));
    h.clickDrucken();
    QCOMPARE(h.printers.jobs.size(), 1);
    QCOMPARE(h.printers.jobs[0].printer, QStringLiteral("hp laserjet 4"));
}

void TestPrintDialog::printerChoice_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printer");
    QTest::newRow("picked") << "pick" << "Büro" << "Büro";
    QTest::newRow("typed, other case") << "type" << "büro" << "Büro";
    QTest::newRow("typed, no such printer") << "type" << "Gibt es nicht" << "Keller Laser";
    QTest::newRow("typed, only a prefix") << "type" << "Bü" << "Keller Laser";
    // As an assistive tool sets it: no focus change.
    QTest::newRow("set from outside") << "set" << "Büro" << "Büro";
}

void TestPrintDialog::printerChoice()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, printer);
    DialogHarness h;
    QVERIFY(h.open());
    if (how == "type")
        h.type("cboDrucker", text);
    else if (how == "pick")
        h.pick("cboDrucker", text);
    else
        h.combo("cboDrucker")->setEditText(text);
    h.clickDrucken(); // takes the focus: the printer switch runs first
    QCOMPARE(h.combo("cboDrucker")->currentText(), printer);
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    QVERIFY(h.fakes.messages.shown[0].text.contains(QStringLiteral("\rDrucker: ") + printer + "\r"));
    QCOMPARE(h.printers.jobs.size(), 1);
    QCOMPARE(h.printers.jobs[0].printer, printer);
}

void TestPrintDialog::printerGoneBeforeRun()
{
    DialogHarness h;
    QVERIFY(h.open());
    h.printers.installed.removeAll(QStringLiteral("Keller Laser"));
    h.clickDrucken();
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    QCOMPARE(h.fakes.messages.shown[0].text, QStringLiteral("Der Drucker \u201EKeller Laser\u201C ist nicht "
                                                            "vorhanden. Bitte wählen Sie einen Drucker aus der Liste."));
    QVERIFY(h.printers.jobs.isEmpty());
}

void TestPrintDialog::runStoppedEarlyIsReported_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("jobs");
    QTest::addColumn<QString>("report");
    const QString cancelled = QStringLiteral("Gedruckt wurden 3 von 6 Spielscheinen.");
    QTest::newRow("printer refuses ticket 3") << "refuse" << 3 << notTaken(3);
    QTest::newRow("printer gone at ticket 3") << "vanish" << 2 << notTaken(3);
    QTest::newRow("page not begun at ticket 4") << "begin" << 4 << notTaken(4);
    QTest::newRow("Abbrechen at ticket 3") << "click" << 3 << cancelled;
    QTest::newRow("Esc at ticket 3") << "esc" << 3 << cancelled;
    QTest::newRow("close box at ticket 3") << "close" << 3 << cancelled;
}

void TestPrintDialog::runStoppedEarlyIsReported()
{
    QFETCH(QString, how);
    QFETCH(int, jobs);
    QFETCH(QString, report);
    DialogHarness h;
    QVERIFY(h.open());
    h.type("cboScheine", "6");
    QString progress;
    bool modal = false;
    h.printers.refuseAtJob = how == "refuse" ? 3 : 0;
    h.printers.vanishAtJob = how == "vanish" ? 3 : 0;
    h.printers.beginFailsAtJob = how == "begin" ? 4 : 0;
    const bool cancel = how == "click" || how == "esc" || how == "close";
    h.printers.onStartJob = [&](int n) {
        if (!cancel)
            return;
        if (n == 1) // a slow first ticket: the run promises to take long
            QThread::msleep(400);
        auto *window = h.dialog->findChild<QDialog *>(QStringLiteral("frmFortschritt"));
        if (n != 3 || !window || !window->isVisible())
            return;
        progress = window->findChild<QLabel *>()->text();
        modal = QApplication::activeModalWidget() == window;
        // As the user's input comes: through the event queue, while ticket 3 prints.
        QMetaObject::invokeMethod(window, [window, how] {
            if (how == "click")
                QTest::mouseClick(window->findChild<QPushButton *>(), Qt::LeftButton);
            else if (how == "esc")
                QTest::keyClick(window, Qt::Key_Escape);
            else
                window->close();
        }, Qt::QueuedConnection);
    };
    h.clickDrucken();
    if (cancel) {
        QCOMPARE(progress, QStringLiteral("Spielschein 3 von 6 wird gedruckt"));
        QVERIFY(modal);
    }
    QCOMPARE(h.printers.jobs.size(), jobs);
    QCOMPARE(h.fakes.messages.shown.size(), 2);
    const test::ShownBox box = h.fakes.messages.shown[1];
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.text, report);
    QVERIFY(!h.dialog->findChild<QDialog *>());
    QVERIFY(h.dialog->isVisible());
    QCOMPARE(h.mainShown, 0);
}

void TestPrintDialog::timerTicksWaitForTheRun()
{
    // Automatic calling runs on a timer while tickets are printed: a tick
    // that falls due during the run comes once, after it.
    DialogHarness h;
    QVERIFY(h.open());
    h.type("cboScheine", "5");
    h.printers.onStartJob = [](int) { QThread::msleep(300); };
    QtProgramTimer timer;
    int ticks = 0;
    timer.setHandler([&] { ++ticks; });
    timer.setInterval(1000);
    timer.setEnabled(true);
    h.clickDrucken();
    QCOMPARE(h.printers.jobs.size(), 5);
    QCOMPARE(ticks, 0);
    QCoreApplication::processEvents();
    QCOMPARE(ticks, 1);
    QTest::qWait(300);
    QCOMPARE(ticks, 1);
}

QTEST_MAIN(TestPrintDialog)
#include "test_printdialog.moc"
