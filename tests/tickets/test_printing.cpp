// The print dialog as the organiser uses it (lists, refusals, summary, the
// run with its progress, leaving), then the printed ticket in millimetres.
#include "fakes/fakeprinters.h"
#include "fakes/fakes.h"
#include "fakes/testkit.h"
#include "game/numberdraw.h"
#include "ui/print/printdialog.h"
#include "tickets/ticketprinting.h"

#include <QtTest>
#include <QtWidgets>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QString kTitle = QStringLiteral("Spielscheinoptionen");

// A print dialog on fake services, shown and active, as the menu opens it.
struct Harness {
    FakeServices fakes;
    FakePrinters printers{{"Büro", "Keller Laser"}, "Keller Laser"};
    QPointer<PrintDialog> dialog;
    int mainShown = 0;

    ~Harness() { delete dialog.data(); }
    bool open()
    {
        Services s = fakes.services();
        s.printers = printers;
        dialog = new PrintDialog(s, [this] { ++mainShown; });
        dialog->show();
        QApplication::setActiveWindow(dialog);
        return QTest::qWaitForWindowActive(dialog);
    }
    QComboBox *combo(const char *name) const { return child<QComboBox>(*dialog, QString::fromUtf8(name)); }
    // A count list as "first-last:shown", e.g. "1-15:1"; "-" when empty, "?" after a gap.
    QString list(const char *name) const
    {
        const QComboBox *c = combo(name);
        const int n = c->count();
        const bool gap = n && c->itemText(n - 1).toInt() - c->itemText(0).toInt() + 1 != n;
        return (n ? c->itemText(0) + '-' + c->itemText(n - 1) : "-") + (gap ? "?:" : ":") + c->currentText();
    }
    // Columns, rows, blocks and tickets.
    QString lists() const { return QStringList{list("cboSpalten"), list("cboReihen"), list("cboBlöcke"), list("cboScheine")}.join(' '); }
    // Clicks into the combo and replaces its text by typing; key events with
    // their text, as keyClicks takes only ASCII.
    void type(const char *name, const QString &text)
    {
        QLineEdit *edit = combo(name)->lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->clear();
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    // Picks a list entry the way the list does, with the focus in the combo.
    void pick(const char *name, const QString &entry)
    {
        combo(name)->setFocus(Qt::MouseFocusReason);
        combo(name)->setCurrentIndex(combo(name)->findText(entry));
    }
    void tabAway() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); } // runs the focus rules
    void clickPool(int pool) { click(*dialog, QStringLiteral("opt%1Zahlen").arg(pool)); }
    void clickDrucken() { click(*dialog, "cmdDruck"); }
    bool canPrint() const { return child<QPushButton>(*dialog, "cmdDruck")->isEnabled(); }
};

const QTransform kToMm = QTransform::fromScale(1 / RecordingPage::kPxPerMm, 1 / RecordingPage::kPxPerMm);

// The pages of a print run on a fake printer, from a generator with the given seed.
QList<std::shared_ptr<RecordingPage>> print(PrintSettings s, quint64 seed)
{
    FakePrinters printers({s.printer = "P"}, "P");
    FakeRandom random(seed);
    TicketNumbers ticket;
    printTickets(s, printers, random, ticket);
    return printers.jobs;
}

// Where a text (or its first part) lies in millimetres, from its baseline
// over its width and line height.
QRectF box(const RecordingPage &page, const RecordedText &t, const QString &part)
{
    const QFontMetricsF fm(t.font, &page);
    return kToMm.mapRect(QRectF(t.baseline.x(), t.baseline.y() - fm.ascent(), fm.horizontalAdvance(part), fm.height()));
}

bool near(QPointF a, QPointF b) { return (a - b).manhattanLength() < 0.01; }

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    // Every opening shows the start values and the default printer, whatever
    // the last one changed and printed; every way of leaving then shows the
    // main window once.
    void opensPrintsAndLeaves()
    {
        Harness h;
        int answer = kAnswerNo, opening = 0, windows = 0;
        h.fakes.messages.responder = [&](const ShownBox &) { return answer; };
        h.printers.onStartJob = [&](int) { windows += h.dialog->findChildren<QDialog *>().size(); };
        for (const QString how : {"click", "alt", "esc", "close"}) {
            QVERIFY(h.open());
            QStringList seen = {h.lists(), h.combo("cboDrucker")->currentText(), h.canPrint() ? "an" : "aus",
                                QApplication::focusWidget()->objectName()};
            for (const QString name : {"opt75Zahlen", "opt90Zahlen", "optNoFreizahl", "optFreizahl", "chkPruefnummer"})
                if (child<QAbstractButton>(*h.dialog, name)->isChecked())
                    seen << name;
            QCOMPARE(seen.join(" | "),
                     "5-10:5 1-15:1 1-3:1 1-100:1 | Keller Laser | an | opt75Zahlen | opt75Zahlen | optNoFreizahl");
            h.fakes.messages.shown.clear();
            h.printers.jobs.clear();
            answer = kAnswerNo;
            h.clickPool(90);
            h.pick("cboSpalten", "10");
            h.tabAway(); // into the blocks: 1 to 11 for 1 row
            h.pick("cboBlöcke", "4");
            h.type("cboScheine", "3");
            h.pick("cboReihen", "2");
            // The access key takes the focus first: leaving the rows sets the
            // blocks back to 1 before the summary is made.
            QTest::keyClick(h.dialog, Qt::Key_D, Qt::AltModifier);
            QTRY_VERIFY_WITH_TIMEOUT(!h.fakes.messages.shown.isEmpty(), 2000);
            QVERIFY(h.fakes.messages.shown[0].text.contains("Zahlenblöcke: 1\r"));
            h.pick("cboBlöcke", "4");
            h.clickDrucken();
            const ShownBox box = h.fakes.messages.shown.value(1);
            QVERIFY(h.fakes.messages.shown.size() == 2 && box.title == kTitle && box.buttons == MsgButtons::YesNo);
            QCOMPARE(box.text, "Diese Spielscheinwerte wurden von Ihnen eingestellt:\r\r        Zahlenmodus:  90 Zahlen \r\r"
                               "        Zahlenspalten: 10\r        Zahlenreihen: 2\r        Zahlenblöcke: 4\r"
                               "        Spielscheine: 3 Schein(e)\r\rDrucker: Keller Laser\r\r"
                               "Wollen Sie mit diesen Werten Drucken?\r");
            // No: nothing printed, everything stays but the blocks.
            QCOMPARE(h.lists() + QString::number(h.printers.jobs.size()), "5-10:10 1-9:2 1-6:1 1-100:30");

            // Yes, with free cells on another printer: every ticket built afresh
            // and printed as a document of its own, no progress window for a
            // short run, no message after it, and the dialog stays as it was.
            answer = kAnswerYes;
            click(*h.dialog, "optFreizahl");
            h.pick("cboDrucker", "Büro");
            h.clickDrucken();
            QStringList jobs, expected;
            QSet<QString> tickets;
            for (const auto &job : std::as_const(h.printers.jobs)) { // texts: title, footer, 9 numbers a row
                jobs << QStringLiteral("%1 on %2: %3 frames, %4 texts").arg(job->docName, job->printer).arg(job->rects.size()).arg(job->texts.size());
                expected << productWithVersion() + QStringLiteral(" Spielschein %1 von 3 on Büro: 20 frames, 20 texts").arg(jobs.size());
                tickets.insert(job->texts[1].text + job->texts[2].text + job->texts[3].text);
            }
            QCOMPARE(jobs, expected);
            QVERIFY(tickets.size() == 3 && windows == 0 && h.dialog->isVisible() && h.fakes.messages.shown.size() == 3 && h.mainShown == opening);
            // Leaving the columns keeps the blocks; from 90 to 75 numbers with
            // 15 rows of 6 the rows fall back, the columns stay.
            click(*h.dialog, "chkPruefnummer"); // off again at the next opening
            h.pick("cboBlöcke", "3");
            h.pick("cboSpalten", "6");
            h.pick("cboReihen", "15");
            QCOMPARE(h.lists(), "5-10:6 1-15:15 1-6:3 1-100:3");
            h.clickPool(75);
            QCOMPARE(h.list("cboReihen") + ' ' + h.list("cboSpalten"), "1-12:1 5-10:6");
            h.type("cboReihen", "4"); // then leave from the rows
            if (how == "click")
                click(*h.dialog, "cmdAbbrechen");
            else if (how == "alt")
                QTest::keyClick(h.dialog, Qt::Key_B, Qt::AltModifier);
            else if (how == "esc")
                QTest::keyClick(h.combo("cboReihen")->lineEdit(), Qt::Key_Escape);
            else
                h.dialog->close();
            QTRY_VERIFY_WITH_TIMEOUT(h.mainShown > opening, 2000);
            flushDeletes();
            QVERIFY2(!h.dialog && h.mainShown == ++opening && h.fakes.messages.shown.size() == 3, qPrintable(how));
        }
    }

    // Rows offered after 5 to 10 columns typed, then 20, 0 and -5 (no bound
    // keeps the last, a negative one leaves none); after 1 to 16 rows, the
    // columns offered on leaving them (below 5: none) and the blocks on
    // entering those, from the first.
    void listBounds_data()
    {
        QTest::addColumn<int>("pool");
        QTest::addColumn<QString>("rowsAfterColumns");
        QTest::addColumn<QString>("columnsAfterRows");
        QTest::newRow("75") << 75 << "15 12 10 9 8 7 3 3 -" << "10 10 10 10 10 10 10 9 8 7 7 6 5 5 5 -";
        QTest::newRow("90") << 90 << "16 15 13 11 10 9 4 4 -" << "10 10 10 10 10 10 10 10 10 9 8 7 7 6 6 5";
    }
    void listBounds()
    {
        QFETCH(int, pool);
        QFETCH(QString, rowsAfterColumns);
        QFETCH(QString, columnsAfterRows);
        Harness h;
        QVERIFY(h.open());
        h.clickPool(pool);
        QStringList seen, expected;
        for (const QString columns : {"5", "6", "7", "8", "9", "10", "20", "0", "-5"}) {
            h.type("cboSpalten", columns);
            h.tabAway();
            seen << h.list("cboReihen");
            const QString max = rowsAfterColumns.section(' ', seen.size() - 1, seen.size() - 1);
            expected << (max == "-" ? "-:" : "1-" + max + ":1");
        }
        const QStringList blocks = {"11", "6", "4", "3", "2", "2", "2"};
        for (int r = 1; r <= 16; ++r) {
            h.type("cboReihen", QString::number(r));
            QTest::mouseClick(h.combo("cboBlöcke")->lineEdit(), Qt::LeftButton);
            seen << QStringLiteral("%1 rows: ").arg(r) + h.list("cboSpalten") + ' ' + h.list("cboBlöcke");
            const QString max = columnsAfterRows.section(' ', r - 1, r - 1);
            expected << QStringLiteral("%1 rows: %2 1-%3:1").arg(r).arg(max == "-" ? "-:" : "5-" + max + ":5", blocks.value(r - 1, "1"));
        }
        QCOMPARE(seen, expected);
    }

    // What "Drucken" shows after the counts were typed (pool|columns|rows|
    // blocks|tickets) and the printer chosen: the printer combo, whether
    // "Drucken" can be pressed, the refusal or the summary's printer line,
    // and the printer of each job.
    void pressDrucken_data()
    {
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("seen");
        const QString k = QStringLiteral("Keller Laser | an | ");
        const QString product = k + QStringLiteral("Ein Spielblock mit %1 Spielreihen und %2 Spielspalten braucht %3 "
            "verschiedene Zahlen, der Zahlenmodus hat nur %4.\rSpielreihen mal Spielspalten darf höchstens %4 sein.");
        const QString range = k + QStringLiteral("Die Anzahl der %1 muss zwischen 1 und %2 liegen; eingegeben ist %3.");
        const QString page = k + QStringLiteral("Der Spielschein passt nicht auf die Seite des Druckers \u201EKeller "
            "Laser\u201C: die Spielfelder reichen bis %1 mm nach %2, bedruckbar sind %3 mm.\rBitte wählen Sie weniger %4.");
        const QString buero = QStringLiteral("Büro | an | Drucker: Büro | Büro");
        const QString keller = k + QStringLiteral("Drucker: Keller Laser | Keller Laser");
        QTest::newRow("13 x 7 of 90") << "90|7|13|1|1" << "" << product.arg(13).arg(7).arg(91).arg(90);
        QTest::newRow("16 x 5 of 75") << "75|5|16|1|1" << "" << product.arg(16).arg(5).arg(80).arg(75);
        // The largest counts pass: the whole pool in one block, 500 tickets of
        // 20 blocks; 25 rows and 20 columns get as far as the page.
        QTest::newRow("15 x 5, the whole pool of 75") << "75|5|15|1|1" << "" << keller;
        QTest::newRow("500 tickets of 20 blocks") << "75|5|1|20|500" << "" << keller + QString(" | Keller Laser").repeated(499);
        QTest::newRow("25 rows") << "90|3|25|1|1" << "" << page.arg(430).arg("unten").arg("287.0").arg("Spielreihen oder Spielblöcke");
        QTest::newRow("20 columns") << "90|20|1|1|1" << "" << page.arg(336).arg("rechts").arg("200.0").arg("Spielspalten");
        QTest::newRow("blocks 0") << "75|5|1|0|1" << "" << range.arg("Spielblöcke").arg(20).arg(0);
        QTest::newRow("blocks 21") << "75|5|1|21|1" << "" << range.arg("Spielblöcke").arg(20).arg(21);
        QTest::newRow("rows 26") << "90|3|26|1|1" << "" << range.arg("Spielreihen").arg(25).arg(26);
        QTest::newRow("columns 21") << "90|21|1|1|1" << "" << range.arg("Spielspalten").arg(20).arg(21);
        QTest::newRow("tickets 0") << "75|5|1|1|0" << "" << range.arg("Spielscheine").arg(500).arg(0);
        QTest::newRow("tickets 501") << "75|5|1|1|501" << "" << range.arg("Spielscheine").arg(500).arg(501);
        QTest::newRow("tickets beyond any integer") << "75|5|1|1|-99999999999999999999" << "" << range.arg("Spielscheine").arg(500).arg("-99999999999999999999");
        QTest::newRow("columns 2^32 + 5") << "75|4294967301|1|1|1" << "" << range.arg("Spielspalten").arg(20).arg("4294967301");
        QTest::newRow("columns -5") << "90|-5|1|1|1" << "" << range.arg("Spielspalten").arg(20).arg(-5);
        QTest::newRow("counts with blanks and signs") << "75| +5 |3 |2| 2" << "" << keller + " | Keller Laser";
        QTest::newRow("tickets 2.5") << "75|5|1|1|2.5" << "" << k + "Die Anzahl der Spielscheine muss eine ganze Zahl sein; eingegeben ist \u201E2.5\u201C.";
        QTest::newRow("tickets empty") << "75|5|1|1|" << "" << k + "Bitte geben Sie die Anzahl der Spielscheine ein (eine ganze Zahl von 1 bis 500).";
        QTest::newRow("23 rows leave no blocks") << "75|5|23||1" << "" << k + "Bitte geben Sie die Anzahl der Spielblöcke ein (eine ganze Zahl von 1 bis 20).";
        // The fake page's printable area is 200 x 287 mm.
        QTest::newRow("12 columns too wide") << "90|12|1|1|1" << "" << page.arg(208).arg("rechts").arg("200.0").arg("Spielspalten");
        QTest::newRow("3 blocks of 5 rows too long") << "75|5|5|3|1" << "" << page.arg(292).arg("unten").arg("287.0").arg("Spielreihen oder Spielblöcke");
        QTest::newRow("printer picked") << "" << "pick:Büro" << buero;
        QTest::newRow("printer typed, other case") << "" << "type:büro" << buero;
        QTest::newRow("printer typed, no such one") << "" << "type:Gibt es nicht" << keller;
        QTest::newRow("printer typed, only a prefix") << "" << "type:Bü" << keller;
        QTest::newRow("printer set from outside") << "" << "set:Büro" << buero; // as an assistive tool: no focus change
        QTest::newRow("default printer by its start, any case") << "" << "hp" << "hp laserjet 4 | an | Drucker: hp laserjet 4 | hp laserjet 4";
        QTest::newRow("default printer gone before the run") << "" << "gone" << k + "Der Drucker \u201EKeller Laser\u201C ist nicht vorhanden. Bitte wählen Sie einen Drucker aus der Liste.";
        QTest::newRow("printer known, its page not") << "" << "silent" << k + "Der Drucker \u201EKeller Laser\u201C antwortet nicht. Bitte versuchen Sie es später noch einmal.";
        // "Drucken" cannot be pressed, and a typed name changes nothing.
        QTest::newRow("no printer installed") << "" << "none" << "Kein Drucker installiert | aus";
        QTest::newRow("no printer, one typed") << "" << "none:Phantom" << "Kein Drucker installiert | aus";
        QTest::newRow("no answer from the print server") << "" << "mute:Phantom" << "Drucker antwortet nicht | aus";
        QTest::newRow("the answer comes after opening") << "" << "late" << keller;
    }
    void pressDrucken()
    {
        QFETCH(QString, counts);
        QFETCH(QString, printer);
        QFETCH(QString, seen);
        const QString how = printer.section(':', 0, 0), name = printer.section(':', 1);
        Harness h;
        if (how == "none")
            h.printers = FakePrinters({}, QString());
        else if (how == "hp")
            h.printers = FakePrinters({"Büro", "hp laserjet 4", "HP"}, "HP");
        h.printers.known = how != "mute" && how != "late";
        QVERIFY(h.open());
        if (!counts.isEmpty()) {
            const QStringList v = counts.split('|');
            h.clickPool(v[0].toInt());
            // Rows first (leaving them resets the blocks), blocks typed last;
            // the rules may have rebuilt the columns and rows.
            h.type("cboReihen", v[2]);
            h.type("cboSpalten", v[1]);
            h.type("cboScheine", v[4]);
            h.type("cboBlöcke", v[3]);
            h.combo("cboSpalten")->setEditText(v[1]);
            h.combo("cboReihen")->setEditText(v[2]);
        }
        if (how == "pick")
            h.pick("cboDrucker", name);
        else if (how == "set")
            h.combo("cboDrucker")->setEditText(name);
        else if (!name.isEmpty())
            h.type("cboDrucker", name);
        h.printers.silent = how == "silent";
        if (how == "gone")
            h.printers.installed.removeLast();
        if (how != "set")
            h.tabAway();
        // The answer asked for on opening comes; a printer chosen meanwhile stays.
        if (how != "gone" && how != "mute")
            h.printers.answer();
        h.clickDrucken();
        QStringList result = {h.combo("cboDrucker")->currentText(), h.canPrint() ? "an" : "aus"};
        for (const ShownBox &box : std::as_const(h.fakes.messages.shown)) {
            QCOMPARE(box.title, kTitle);
            result << (box.buttons == MsgButtons::Ok ? box.text : box.text.split('\r').value(9));
        }
        for (const auto &job : std::as_const(h.printers.jobs))
            result << job->printer;
        QCOMPARE(result.join(QStringLiteral(" | ")), seen);
    }

    // A run of 6 tickets in trouble at ticket `at`, or stopped there in the
    // progress window; the ticket without an answer is withdrawn, not counted.
    void runStoppedEarlyIsReported_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<QString>("report");
        const QString handed = QStringLiteral("An den Drucker übergeben wurden %1 von 6 Spielscheinen");
        const QString notTaken = QStringLiteral("Der Druck wurde abgebrochen: Der Drucker \u201EKeller Laser\u201C hat den Spielschein %1 nicht angenommen.\r%2.");
        QTest::newRow("printer refuses") << "refuse" << 3 << 3 << notTaken.arg(3).arg(handed.arg(2));
        QTest::newRow("page not begun") << "begin" << 4 << 4 << notTaken.arg(4).arg(handed.arg(3));
        QTest::newRow("printer gone") << "vanish" << 3 << 2 << "Der Druck wurde abgebrochen: Der Drucker \u201EKeller Laser\u201C ist nicht mehr vorhanden.\r"
                + handed.arg(2) + ".\rSpielscheine, die an einen nicht mehr vorhandenen Drucker gesendet wurden und noch nicht gedruckt waren, sind verloren.";
        QTest::newRow("Abbrechen") << "click" << 3 << 3 << handed.arg(3) + '.';
        QTest::newRow("Esc") << "esc" << 3 << 3 << handed.arg(3) + '.';
        QTest::newRow("close box") << "close" << 3 << 3 << handed.arg(3) + '.';
        QTest::newRow("no answer, Abbrechen") << "hang" << 3 << 3 << handed.arg(2) + '.';
        QTest::newRow("no answer to the first, Abbrechen") << "hang" << 1 << 1 << handed.arg(0) + '.';
    }
    void runStoppedEarlyIsReported()
    {
        QFETCH(QString, how);
        QFETCH(int, at);
        QFETCH(int, jobs);
        QFETCH(QString, report);
        Harness h;
        QVERIFY(h.open());
        // Automatic calling goes on during a run; its ticks wait until the run
        // is over, then come once.
        const std::unique_ptr<ITimer> timer = h.fakes.timers.create(TimerRole::AutoStep);
        FakeTimer *autoStep = h.fakes.timers.timer(TimerRole::AutoStep);
        int ticks = 0, withdrawn = 0;
        timer->setHandler([&] { ++ticks; });
        timer->setInterval(300);
        timer->setEnabled(true);
        h.type("cboScheine", "6");
        h.printers.trouble = how;
        h.printers.troubleAt = at;
        QString progress;
        bool over = false;
        // Once the progress window shows at ticket 3 (1 when the first
        // hangs), the user acts through the event queue.
        std::function<void()> act = [&] {
            auto *window = child<QDialog>(*h.dialog, "frmFortschritt");
            if (!window || !window->isVisible()) {
                if (!over)
                    QMetaObject::invokeMethod(h.dialog, act, Qt::QueuedConnection);
                return;
            }
            progress = window->findChild<QLabel *>()->text() + (QApplication::activeModalWidget() == window ? ", modal" : "");
            QMetaObject::invokeMethod(window, [window, how] {
                if (how == "click" || how == "hang")
                    click(*window, "cmdAbbrechen");
                else if (how == "esc")
                    QTest::keyClick(window, Qt::Key_Escape);
                else if (how == "close")
                    window->close();
            }, Qt::QueuedConnection);
        };
        const int actAt = qMin(at, 3);
        h.printers.onStartJob = [&](int n) {
            autoStep->tick(); // two ticks fall due with every ticket
            autoStep->tick();
            if (n == 1 && actAt > 1) // a slow first ticket: the run promises to take long
                QThread::msleep(400);
            if (n == actAt)
                act();
        };
        h.clickDrucken();
        over = true;
        const ShownBox box = h.fakes.messages.shown.value(1);
        for (const auto &job : std::as_const(h.printers.jobs))
            withdrawn += job->withdrawn;
        QCOMPARE(QStringList({progress, QString::number(h.printers.jobs.size()), box.title, box.text, QString::number(withdrawn)}),
                 QStringList({QStringLiteral("Spielschein %1 von 6 wird gedruckt, modal").arg(actAt), QString::number(jobs),
                              kTitle, report, how == "hang" ? "1" : "0"}));
        QVERIFY(h.fakes.messages.shown.size() == 2 && box.buttons == MsgButtons::Ok);
        QVERIFY(!h.dialog->findChild<QDialog *>() && h.dialog->isVisible() && h.mainShown == 0 && ticks == 1);
    }

    // "Prüfnummer drucken", last in the tab order, adds its line to the summary; each footer then carries,
    // at 10 points left of the address, a number of the run's one series that gives back the ticket.
    void checkNumberOption()
    {
        Harness h;
        h.fakes.messages.responder = [](const ShownBox &) { return kAnswerYes; };
        QVERIFY(h.open());
        child<QWidget>(*h.dialog, "optFreizahl")->setFocus();
        QStringList seen;
        for (int i = 0; i < 2; ++i, seen << QApplication::focusWidget()->objectName())
            h.tabAway();
        click(*h.dialog, "chkPruefnummer");
        h.type("cboScheine", "2");
        h.clickDrucken();
        seen << h.fakes.messages.shown.value(0).text.split('\r').value(8);
        QSet<quint32> series;
        for (const auto &page : std::as_const(h.printers.jobs)) {
            const RecordedText &number = page->texts.value(6); // after the title and five numbers
            const QRectF at = box(*page, number, number.text), web = box(*page, page->texts.last(), page->texts.last().text);
            const NumberedTicket t = decodeCheckNumber(number.text.section(' ', 1)).ticket;
            QVERIFY(number.font.pointSizeF() == 10 && near(at.bottomLeft(), {16, 278}) && at.right() < web.left() - 2);
            QString printed, rebuilt;
            for (int c = 1; c <= 5; ++c)
                printed += page->texts[c].text, rebuilt += QStringLiteral(" %1 ").arg(t.numbers.at(1, 1, c));
            seen << number.text.section(' ', 0, 0) + QString(" %1: ").arg(t.index) + (printed == rebuilt ? "gleich" : printed + '/' + rebuilt);
            series << t.series;
        }
        QCOMPARE(seen, QStringList({"chkPruefnummer", "opt75Zahlen", "        Prüfnummer: wird auf jeden Spielschein gedruckt",
                                    "Prüfnummer 1: gleich", "Prüfnummer 2: gleich"}));
        QCOMPARE(series.size(), 1);
    }

    void framesNumbersTitleAndFooter_data()
    {
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QList<int>>("blockTops");
        QTest::newRow("1 row of 5") << 75 << 1 << 5 << QList<int>{30};
        QTest::newRow("2 blocks of 5 rows") << 90 << 5 << 5 << QList<int>{30, 122};
        QTest::newRow("11 blocks of 1 row") << 75 << 1 << 6 << QList<int>{30, 49, 68, 87, 106, 125, 144, 163, 182, 201, 220};
        QTest::newRow("2 blocks of 7 rows") << 75 << 7 << 10 << QList<int>{30, 154};
        QTest::newRow("4 blocks of 3 rows") << 90 << 3 << 7 << QList<int>{30, 88, 146, 204};
        QTest::newRow("16 rows") << 90 << 16 << 5 << QList<int>{30};
    }
    void framesNumbersTitleAndFooter()
    {
        QFETCH(int, pool);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(QList<int>, blockTops);
        const int blocks = blockTops.size();
        const auto pages = print({1, blocks, rows, columns, pool, false, {}}, pool + rows);
        QCOMPARE(pages.size(), 1);
        const RecordingPage &page = *pages[0];
        const auto &texts = page.texts;
        // Title, a frame and a number in every cell, footer: nothing else.
        QCOMPARE(QList<int>({int(page.rects.size()), int(texts.size()), page.others}), QList<int>({blocks * rows * columns, blocks * rows * columns + 2, 0}));
        // Each block takes the next order drawn from the generator, row by row.
        FakeRandom replay(pool + rows);
        NumberOrder order;
        for (int b = 1, i = 0; b <= blocks; ++b) {
            drawOrder(replay, pool, order);
            for (int r = 1; r <= rows; ++r)
                for (int c = 1; c <= columns; ++c, ++i) {
                    const QRectF cell(16 * c, blockTops[b - 1] + 16 * (r - 1), 16, 16);
                    const QRectF frame = kToMm.mapRect(page.rects[i]);
                    const QPointF at = box(page, texts[i + 1], texts[i + 1].text).topLeft();
                    QVERIFY2(near(frame.topLeft(), cell.topLeft()) && near(frame.bottomRight(), cell.bottomRight())
                                 && near(at, cell.topLeft() + QPointF(1, 2)),
                             qPrintable(QStringLiteral("block %1 row %2 column %3").arg(b).arg(r).arg(c)));
                    QCOMPARE(texts[i + 1].text, QStringLiteral(" %1 ").arg(order[(r - 1) * columns + c]));
                }
        }
        // The product name ends at 120 mm, the title's line at 20 mm; the web
        // address ends at 105 mm, its line at 278 mm.
        const QRectF name = box(page, texts.first(), QStringLiteral("Kugelfon"));
        const QRectF web = box(page, texts.last(), texts.last().text);
        QVERIFY(near(name.bottomRight(), {120, 20}) && near(web.bottomRight(), {105, 278}));
        QStringList seen = {texts.first().text, texts.last().text};
        for (const RecordedText &t : {texts.first(), texts[1], texts.last()})
            seen << QStringLiteral("%1 %2%3").arg(t.font.family()).arg(t.font.pointSizeF()).arg(t.font.bold() ? " bold" : "");
        QCOMPARE(seen, QStringList({productWithVersion(), "www.kugelfon.example.org", "Times New Roman 30 bold",
                                    "Times New Roman 30 bold", "Times New Roman 8 bold"}));
    }

    // Every row keeps its seven frames and shows six numbers; over many rows
    // each column is the empty one about equally often.
    void freeCellsLeaveOneEmptyFramePerRow()
    {
        QList<int> emptyPerColumn(7);
        for (const auto &page : print({200, 2, 5, 7, 75, true, {}}, 100)) {
            QCOMPARE(page->rects.size(), 70);
            QMap<int, QSet<int>> filled; // row top -> columns with a number
            for (const RecordedText &n : page->texts.mid(1, page->texts.size() - 2)) {
                const QPointF at = box(*page, n, n.text).topLeft();
                filled[qRound(at.y() - 2)].insert(qRound(at.x() - 17) / 16);
            }
            QCOMPARE(filled.size(), 10);
            for (const QSet<int> &columns : std::as_const(filled))
                for (int c = 0; c < 7; ++c)
                    emptyPerColumn[c] += columns.size() == 6 && !columns.contains(c);
        }
        // 2000 rows (one that lost more numbers counts for none); chi-square
        // with 6 degrees of freedom below 22.46 (p = 0.001).
        double chi = 0;
        for (int n : std::as_const(emptyPerColumn))
            chi += (n - 2000 / 7.0) * (n - 2000 / 7.0) / (2000 / 7.0);
        QVERIFY2(chi < 22.46, qPrintable(QString::number(chi)));
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
