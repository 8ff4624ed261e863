#include "dialoghelpers.h"
#include "platform/qttimer.h"

#include <QDialog>
#include <QLabel>
#include <QGroupBox>
#include <QThread>

using namespace kugelfon;
using kugelfon::test::DialogHarness;

namespace {

QStringList numbersFrom(int from, int to)
{
    QStringList out;
    for (int k = from; k <= to; ++k)
        out.append(QString::number(k));
    return out;
}

} // namespace

class TestPrintDialog : public QObject {
    Q_OBJECT
private slots:
    void opensWithStartValues();
    void opensAfreshEachTime();
    void rowsOfferedForColumns_data();
    void rowsOfferedForColumns();
    void columnsOfferedForRows_data();
    void columnsOfferedForRows();
    void rowSelectionKeptWhenStillListed_data();
    void rowSelectionKeptWhenStillListed();
    void leavingRowsSetsBlocksBackToOne();
    void blocksOfferedOnEntering_data();
    void blocksOfferedOnEntering();
    void poolSwitchRebuildsBothLists();
    void summaryText();
    void answerNoKeepsAllButBlocks();
    void answerYesPrintsEveryTicket();
    void accessKeyRunsRulesBeforeActing();
    void cancelShowsMainWindow_data();
    void cancelShowsMainWindow();
    void refusedBeforeSummary_data();
    void refusedBeforeSummary();
    void wrongEntryNamedListBesideKept_data();
    void wrongEntryNamedListBesideKept();
    void noPrinterInstalled();
    void defaultPrinterFoundByPrefix();
    void printerChoice_data();
    void printerChoice();
    void printerGoneBeforeRun();
    void runStoppedEarlyIsReported_data();
    void runStoppedEarlyIsReported();
    void timerTicksWaitForTheRun();
};

void TestPrintDialog::opensWithStartValues()
{
    DialogHarness h;
    QVERIFY(h.open());
    PrintDialog &d = h.d();
    QCOMPARE(d.objectName(), QStringLiteral("frmDrucken"));
    QVERIFY(d.isWindow());
    QVERIFY(d.testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(d.size(), QSize(599, 381));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QCOMPARE(d.windowTitle(), QStringLiteral("Kugelfon 1.1          \u00A9 2026 Kugelfon-Projekt"));
    for (const char *name : {"lblHinweisText", "lblSpielSpalten", "lblSpielReihen", "lblSpielBlöcke",
                             "lblDrucker", "lblAnzahlSpielscheine", "lblOptionstext"})
        QVERIFY2(d.findChild<QLabel *>(QString::fromUtf8(name)), name);
    for (const char *name : {"fraOptionswerte", "fraZahlenAnzahl", "fraSpielfeld", "fraFreiZahl", "fraDrucker"})
        QVERIFY2(d.findChild<QGroupBox *>(QString::fromUtf8(name)), name);
    QCOMPARE(d.findChild<QLabel *>(QStringLiteral("lblSpielBlöcke"))->text(),
             QStringLiteral("Anzahl der Spielblöcke: (max. Anzahl von den   Spielreihen abhängig)"));

    QVERIFY(h.option("opt75Zahlen")->isChecked());
    QVERIFY(!h.option("opt90Zahlen")->isChecked());
    QVERIFY(h.option("optNoFreizahl")->isChecked());
    QVERIFY(h.option("opt75Zahlen")->hasFocus());
    QCOMPARE(DialogHarness::items(h.combo("cboSpalten")), numbersFrom(5, 10));
    QCOMPARE(DialogHarness::items(h.combo("cboReihen")), numbersFrom(1, 15));
    QCOMPARE(DialogHarness::items(h.combo("cboBlöcke")), numbersFrom(1, 3));
    QCOMPARE(DialogHarness::items(h.combo("cboScheine")), numbersFrom(1, 100));
    QCOMPARE(h.combo("cboSpalten")->currentText(), QStringLiteral("5"));
    QCOMPARE(h.combo("cboReihen")->currentText(), QStringLiteral("1"));
    QCOMPARE(h.combo("cboBlöcke")->currentText(), QStringLiteral("1"));
    QCOMPARE(h.combo("cboScheine")->currentText(), QStringLiteral("1"));
    QCOMPARE(DialogHarness::items(h.combo("cboDrucker")),
             (QStringList{QStringLiteral("Büro"), QStringLiteral("Keller Laser")}));
    QCOMPARE(h.combo("cboDrucker")->currentText(), QStringLiteral("Keller Laser"));
    QVERIFY(h.button("cmdDruck")->isEnabled());
    QCOMPARE(h.button("cmdDruck")->text(), QStringLiteral("&Drucken"));
    QCOMPARE(h.button("cmdAbbrechen")->text(), QStringLiteral("Ab&brechen"));

    // Focus order as designed (Qt tabs only to the checked option of a group,
    // so the chain is checked, not the Tab key).
    QStringList order;
    QWidget *w = h.option("opt75Zahlen");
    for (int i = 0; i < 10; ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || w->inherits("QLineEdit"))
            w = w->nextInFocusChain();
        order.append(w->objectName());
    }
    QCOMPARE(order, (QStringList{"opt90Zahlen", "cmdAbbrechen", "cmdDruck", "cboReihen", "cboSpalten",
                                 QString::fromUtf8("cboBlöcke"), "cboScheine", "cboDrucker",
                                 "optNoFreizahl", "optFreizahl"}));
}

void TestPrintDialog::opensAfreshEachTime()
{
    DialogHarness h;
    QVERIFY(h.open());
    h.clickPool(90);
    QTest::mouseClick(h.option("optFreizahl"), Qt::LeftButton);
    QVERIFY(h.d().Zufall());
    h.type("cboSpalten", "9");
    h.tabAway();
    h.type("cboScheine", "7");
    QTest::mouseClick(h.button("cmdAbbrechen"), Qt::LeftButton);
    QCOMPARE(h.mainShown, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!h.dialog);

    QVERIFY(h.open());
    QCOMPARE(h.d().Zahlenmenge(), 75);
    QVERIFY(!h.d().Zufall());
    QVERIFY(h.option("opt75Zahlen")->isChecked());
    QVERIFY(h.option("optNoFreizahl")->isChecked());
    QCOMPARE(h.combo("cboSpalten")->currentText(), QStringLiteral("5"));
    QCOMPARE(DialogHarness::items(h.combo("cboReihen")), numbersFrom(1, 15));
    QCOMPARE(h.combo("cboScheine")->currentText(), QStringLiteral("1"));
}

void TestPrintDialog::rowsOfferedForColumns_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("maxRows");
    const int rows75[] = {15, 12, 10, 9, 8, 7};
    const int rows90[] = {16, 15, 13, 11, 10, 9};
    for (int c = 5; c <= 10; ++c) {
        QTest::addRow("75, %d columns", c) << 75 << QString::number(c) << rows75[c - 5];
        QTest::addRow("90, %d columns", c) << 90 << QString::number(c) << rows90[c - 5];
    }
    // Typed values beyond the list.
    QTest::newRow("75, 20 columns typed") << 75 << "20" << 3;
    QTest::newRow("75, 0 columns typed keeps the old bound") << 75 << "0" << 15;
    QTest::newRow("90, 100 columns") << 90 << "100" << 1;
    QTest::newRow("75, negative columns") << 75 << "-5" << 0;
}

void TestPrintDialog::rowsOfferedForColumns()
{
    QFETCH(int, pool);
    QFETCH(QString, columns);
    QFETCH(int, maxRows);
    DialogHarness h;
    QVERIFY(h.open());
    if (pool == 90)
        h.clickPool(90);
    h.type("cboSpalten", "5");
    h.tabAway(); // a first bound from 5 columns
    h.type("cboSpalten", columns);
    h.tabAway();
    QCOMPARE(DialogHarness::items(h.combo("cboReihen")), numbersFrom(1, maxRows));
    QCOMPARE(h.combo("cboReihen")->currentText(), maxRows > 0 ? QStringLiteral("1") : QString());
}

void TestPrintDialog::columnsOfferedForRows_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("maxColumns");
    const int cols75[] = {10, 10, 10, 10, 10, 10, 10, 9, 8, 7, 7, 6, 5, 5, 5, 4};
    const int cols90[] = {10, 10, 10, 10, 10, 10, 10, 10, 10, 9, 8, 7, 7, 6, 6, 5};
    for (int r = 1; r <= 16; ++r) {
        QTest::addRow("75, %d rows", r) << 75 << r << cols75[r - 1];
        QTest::addRow("90, %d rows", r) << 90 << r << cols90[r - 1];
    }
}

void TestPrintDialog::columnsOfferedForRows()
{
    QFETCH(int, pool);
    QFETCH(int, rows);
    QFETCH(int, maxColumns);
    DialogHarness h;
    QVERIFY(h.open());
    if (pool == 90)
        h.clickPool(90);
    h.type("cboReihen", QString::number(rows));
    h.tabAway();
    QCOMPARE(DialogHarness::items(h.combo("cboSpalten")), numbersFrom(5, maxColumns));
}

void TestPrintDialog::rowSelectionKeptWhenStillListed_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("after");
    QTest::newRow("12 stays") << "12" << "12";
    QTest::newRow("7 stays") << "7" << "7";
    QTest::newRow("13 falls back") << "13" << "1";
    QTest::newRow("15 falls back") << "15" << "1";
}

void TestPrintDialog::rowSelectionKeptWhenStillListed()
{
    QFETCH(QString, rows);
    QFETCH(QString, after);
    DialogHarness h;
    QVERIFY(h.open());
    h.pick("cboReihen", rows);
    h.type("cboSpalten", "6");
    h.tabAway();
    QCOMPARE(DialogHarness::items(h.combo("cboReihen")), numbersFrom(1, 12));
    QCOMPARE(h.combo("cboReihen")->currentText(), after);
}

void TestPrintDialog::leavingRowsSetsBlocksBackToOne()
{
    DialogHarness h;
    QVERIFY(h.open());
    h.pick("cboBlöcke", "3");
    h.pick("cboSpalten", "6");
    h.clickInto("cboScheine"); // leaving the columns keeps the blocks
    QCOMPARE(h.combo("cboBlöcke")->currentText(), QStringLiteral("3"));
    h.pick("cboReihen", "1");
    h.clickInto("cboScheine");
    QCOMPARE(h.combo("cboBlöcke")->currentText(), QStringLiteral("1"));
}

void TestPrintDialog::blocksOfferedOnEntering_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("maxBlocks");
    const int bound[] = {11, 6, 4, 3, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1};
    for (int r = 1; r <= 15; ++r)
        QTest::addRow("%d rows", r) << QString::number(r) << bound[r - 1];
    QTest::newRow("22 rows") << "22" << 1;
    QTest::newRow("23 rows: none") << "23" << 0;
    QTest::newRow("0 rows: none") << "0" << 0;
    QTest::newRow("-2 rows: none") << "-2" << 0;
    QTest::newRow("letters: none") << "x" << 0;
}

void TestPrintDialog::blocksOfferedOnEntering()
{
    QFETCH(QString, rows);
    QFETCH(int, maxBlocks);
    DialogHarness h;
    QVERIFY(h.open());
    h.pick("cboBlöcke", "3");
    h.type("cboReihen", rows);
    h.clickInto("cboBlöcke");
    QVERIFY(h.combo("cboBlöcke")->hasFocus());
    QCOMPARE(DialogHarness::items(h.combo("cboBlöcke")), numbersFrom(1, maxBlocks));
    QCOMPARE(h.combo("cboBlöcke")->currentText(), maxBlocks > 0 ? QStringLiteral("1") : QString());
    if (maxBlocks == 0) {
        // No count of blocks: a refusal, no print run, and the list comes
        // back once the rows allow blocks again.
        h.clickDrucken();
        QCOMPARE(h.fakes.messages.shown.size(), 1);
        QCOMPARE(h.fakes.messages.shown[0].buttons, MsgButtons::Ok);
        QVERIFY(h.printers.jobs.isEmpty());
        h.type("cboReihen", "2");
        h.clickInto("cboBlöcke");
        QCOMPARE(DialogHarness::items(h.combo("cboBlöcke")), numbersFrom(1, 6));
    }
}

void TestPrintDialog::poolSwitchRebuildsBothLists()
{
    DialogHarness h;
    QVERIFY(h.open());
    h.clickPool(90);
    h.pick("cboSpalten", "6");
    h.tabAway();
    h.pick("cboReihen", "15");
    h.tabAway();
    QCOMPARE(h.combo("cboSpalten")->currentText(), QStringLiteral("6"));
    h.clickPool(75);
    QCOMPARE(h.d().Zahlenmenge(), 75);
    QCOMPARE(DialogHarness::items(h.combo("cboReihen")), numbersFrom(1, 12));
    QCOMPARE(h.combo("cboReihen")->currentText(), QStringLiteral("1"));
    QCOMPARE(DialogHarness::items(h.combo("cboSpalten")), numbersFrom(5, 10));
    QCOMPARE(h.combo("cboSpalten")->currentText(), QStringLiteral("6"));
}

void TestPrintDialog::summaryText()
{
    DialogHarness h;
    QVERIFY(h.open());
    h.fakes.messages.responder = [](const test::ShownBox &) { return kAnswerNo; };
    h.clickPool(90);
    h.pick("cboSpalten", "10");
    h.tabAway();
    h.pick("cboReihen", "9");
    h.tabAway();
    h.type("cboScheine", "3");
    h.clickDrucken();
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    const test::ShownBox box = h.fakes.messages.shown[0];
    QCOMPARE(box.title, QStringLiteral("Spielscheinoptionen"));
    QCOMPARE(box.buttons, MsgButtons::YesNo);
    const QString expected = QStringLiteral(
        "Diese Spielscheinwerte wurden von Ihnen eingestellt:\r"
        "\r"
        "        Zahlenmodus:  90 Zahlen \r"
        "\r"
        "        Zahlenspalten: 10\r"
        "        Zahlenreihen: 9\r"
        "        Zahlenblöcke: 1\r"
        "        Spielscheine: 3 Schein(e)\r"
        "\r"
        "Drucker: Keller Laser\r"
        "\r"
        "Wollen Sie mit diesen Werten Drucken?\r");
    QCOMPARE(box.text, expected);
    QVERIFY(!box.text.contains(QLatin1Char('\n')));
}

void TestPrintDialog::answerNoKeepsAllButBlocks()
{
    DialogHarness h;
    QVERIFY(h.open());
    h.fakes.messages.responder = [](const test::ShownBox &) { return kAnswerNo; };
    h.pick("cboReihen", "2");
    h.tabAway();
    h.pick("cboSpalten", "7");
    h.tabAway(); // into the blocks: 1 to 6
    h.pick("cboBlöcke", "4");
    h.type("cboScheine", "12");
    h.clickDrucken();
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    QVERIFY(h.fakes.messages.shown[0].text.contains(QStringLiteral("Zahlenblöcke: 4\r")));
    QVERIFY(h.printers.jobs.isEmpty());
    QCOMPARE(h.combo("cboBlöcke")->currentText(), QStringLiteral("1"));
    QCOMPARE(h.combo("cboReihen")->currentText(), QStringLiteral("2"));
    QCOMPARE(h.combo("cboSpalten")->currentText(), QStringLiteral("7"));
    QCOMPARE(h.combo("cboScheine")->currentText(), QStringLiteral("12"));
    QVERIFY(h.dialog && h.dialog->isVisible());
}

void TestPrintDialog::answerYesPrintsEveryTicket()
{
    DialogHarness h;
    QVERIFY(h.open());
    h.pick("cboDrucker", "Büro");
    h.pick("cboReihen", "3");
    h.tabAway();
    h.type("cboScheine", "3");
    int windows = 0; // a short run shows no progress window
    h.printers.onStartJob = [&](int) { windows += h.dialog->findChildren<QDialog *>().size(); };
    h.clickDrucken();
    QCOMPARE(windows, 0);
    QCOMPARE(h.fakes.messages.shown.size(), 1); // no message after the run
    QCOMPARE(h.printers.jobs.size(), 3);
    for (const test::FakeJob &job : h.printers.jobs) {
        QCOMPARE(job.printer, QStringLiteral("Büro"));
        QCOMPARE(job.page->engine().rects.size(), 15);
    }
    QCOMPARE(h.d().lastRunPrinted(), 3);
    QVERIFY(h.dialog->isVisible());
    QCOMPARE(h.mainShown, 0);
    QCOMPARE(h.combo("cboScheine")->currentText(), QStringLiteral("3"));
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
    QVERIFY(h.button("cmdDruck")->hasFocus());
    QVERIFY(summary.contains(QStringLiteral("Zahlenspalten: 5\r")));
    QVERIFY(summary.contains(QStringLiteral("Zahlenblöcke: 1\r")));
}

void TestPrintDialog::cancelShowsMainWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("click") << "click";
    QTest::newRow("access key") << "alt";
    QTest::newRow("escape") << "esc";
    QTest::newRow("close box") << "close";
}

void TestPrintDialog::cancelShowsMainWindow()
{
    QFETCH(QString, how);
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
    QVERIFY(!h.dialog);
    QCOMPARE(h.mainShown, 1);
    QVERIFY(h.printers.jobs.isEmpty());
}

void TestPrintDialog::refusedBeforeSummary_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("blocks");
    QTest::addColumn<QString>("tickets");
    QTest::addColumn<QString>("message");
    QTest::newRow("13 x 7 in the 90 pool")
        << 90 << "7" << "13" << "1" << "1"
        << QStringLiteral("Ein Spielblock mit 13 Spielreihen und 7 Spielspalten braucht 91 "
                          "verschiedene Zahlen, der Zahlenmodus hat nur 90.\rSpielreihen mal "
                          "Spielspalten darf höchstens 90 sein.");
    QTest::newRow("20 x 5 in the 75 pool") << 75 << "5" << "20" << "1" << "1"
                                           << QStringLiteral("braucht 100 verschiedene Zahlen");
    QTest::newRow("blocks 0") << 75 << "5" << "1" << "0" << "1"
                              << QStringLiteral("Die Anzahl der Spielblöcke muss zwischen 1 und 20 "
                                                "liegen; eingegeben ist 0.");
    QTest::newRow("blocks 21") << 75 << "5" << "1" << "21" << "1" << QStringLiteral("eingegeben ist 21.");
    QTest::newRow("rows 26") << 90 << "3" << "26" << "1" << "1"
                             << QStringLiteral("Spielreihen muss zwischen 1 und 25 liegen; eingegeben ist 26.");
    QTest::newRow("rows -1") << 90 << "5" << "-1" << "1" << "1" << QStringLiteral("eingegeben ist -1.");
    QTest::newRow("columns 21") << 90 << "21" << "1" << "1" << "1"
                                << QStringLiteral("Spielspalten muss zwischen 1 und 20 liegen; eingegeben ist 21.");
    QTest::newRow("tickets 0") << 75 << "5" << "1" << "1" << "0"
                               << QStringLiteral("Spielscheine muss zwischen 1 und 500 liegen; eingegeben ist 0.");
    QTest::newRow("tickets 501") << 75 << "5" << "1" << "1" << "501" << QStringLiteral("eingegeben ist 501.");
    QTest::newRow("tickets huge") << 75 << "5" << "1" << "1" << "123456789012345678901234567890"
                                  << QStringLiteral("eingegeben ist 123456789012345678901234567890.");
    QTest::newRow("tickets 2.5") << 75 << "5" << "1" << "1" << "2.5"
                                 << QStringLiteral("Die Anzahl der Spielscheine muss eine ganze Zahl "
                                                   "sein; eingegeben ist \u201E2.5\u201C.");
    QTest::newRow("tickets empty") << 75 << "5" << "1" << "1" << ""
                                   << QStringLiteral("Bitte geben Sie die Anzahl der Spielscheine ein "
                                                     "(eine ganze Zahl von 1 bis 500).");
    QTest::newRow("columns letters") << 75 << "fünf" << "1" << "1" << "1"
                                     << QStringLiteral("Spielspalten muss eine ganze Zahl sein; eingegeben ist \u201Efünf\u201C.");
    QTest::newRow("rows with blank inside") << 75 << "5" << "1 2" << "1" << "1"
                                            << QStringLiteral("Spielreihen muss eine ganze Zahl sein");
    // Printable area of the fake page: 200 x 287 mm.
    QTest::newRow("12 columns run off the page")
        << 90 << "12" << "1" << "1" << "1"
        << QStringLiteral("Der Spielschein passt nicht auf die Seite des Druckers \u201EKeller Laser\u201C: "
                          "die Spielfelder reichen bis 208 mm nach rechts, bedruckbar sind 200.0 mm.\r"
                          "Bitte wählen Sie weniger Spielspalten.");
    QTest::newRow("3 blocks of 5 rows run off the page")
        << 75 << "5" << "5" << "3" << "1"
        << QStringLiteral("die Spielfelder reichen bis 292 mm nach unten, bedruckbar sind 287.0 mm.");
    QTest::newRow("25 rows of 3 columns") << 75 << "3" << "25" << "1" << "1"
                                          << QStringLiteral("reichen bis 430 mm nach unten");
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
    QCOMPARE(box.title, QStringLiteral("Spielscheinoptionen"));
    QVERIFY2(box.text.contains(message), qPrintable(box.text));
    QVERIFY(h.printers.jobs.isEmpty());
}

void TestPrintDialog::wrongEntryNamedListBesideKept_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("beside");
    QTest::addColumn<QStringList>("besideItems");
    QTest::newRow("rows") << "cboReihen" << "Spielreihen" << "cboSpalten" << numbersFrom(5, 10);
    QTest::newRow("columns") << "cboSpalten" << "Spielspalten" << "cboReihen" << numbersFrom(1, 15);
}

void TestPrintDialog::wrongEntryNamedListBesideKept()
{
    QFETCH(QString, field);
    QFETCH(QString, what);
    QFETCH(QString, beside);
    QFETCH(QStringList, besideItems);
    DialogHarness h;
    QVERIFY(h.open());
    h.type(qPrintable(field), "abc");
    h.clickDrucken(); // leaving the combo runs its rule first
    QCOMPARE(DialogHarness::items(h.combo(qPrintable(beside))), besideItems);
    QCOMPARE(h.combo(qPrintable(beside))->currentText(), besideItems.first());
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    QCOMPARE(h.fakes.messages.shown[0].text,
             QStringLiteral("Die Anzahl der %1 muss eine ganze Zahl sein; eingegeben ist "
                            "\u201Eabc\u201C.").arg(what));
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
    // The other options still work; leaving the printer combo keeps the state.
    h.clickPool(90);
    h.pick("cboSpalten", "9");
    h.tabAway();
    QCOMPARE(DialogHarness::items(h.combo("cboReihen")), numbersFrom(1, 10));
    h.type("cboDrucker", "Phantom");
    h.tabAway();
    QCOMPARE(h.combo("cboDrucker")->currentText(), QStringLiteral("Kein Drucker installiert"));
    QVERIFY(!h.button("cmdDruck")->isEnabled());
    QVERIFY(h.printers.jobs.isEmpty());
}

void TestPrintDialog::defaultPrinterFoundByPrefix()
{
    DialogHarness h;
    h.printers = test::FakePrinters({"Büro", "hp laserjet 4", "HP"}, "HP");
    QVERIFY(h.open());
    QCOMPARE(h.combo("cboDrucker")->currentIndex(), 1);
    QCOMPARE(h.combo("cboDrucker")->currentText(), QStringLiteral("hp laserjet 4"));
    // The printer shown is the one that prints.
    QCOMPARE(h.printers.current(), QStringLiteral("hp laserjet 4"));
    h.clickDrucken();
    QCOMPARE(h.printers.jobs.size(), 1);
    QCOMPARE(h.printers.jobs[0].printer, QStringLiteral("hp laserjet 4"));
}

void TestPrintDialog::printerChoice_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printer");
    QTest::newRow("picked from the list") << "pick" << "Büro" << "Büro";
    QTest::newRow("typed, other case") << "type" << "büro" << "Büro";
    QTest::newRow("typed, no such printer") << "type" << "Gibt es nicht" << "Keller Laser";
    QTest::newRow("typed, only a prefix") << "type" << "Bü" << "Keller Laser";
    QTest::newRow("emptied") << "type" << "" << "Keller Laser";
    // As an assistive tool sets it: no focus change.
    QTest::newRow("set from outside") << "set" << "Büro" << "Büro";
    QTest::newRow("set from outside, no such printer") << "set" << "Phantom" << "Keller Laser";
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
    QCOMPARE(h.printers.current(), printer);
    QCOMPARE(h.combo("cboDrucker")->currentText(), printer);
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    QVERIFY(h.fakes.messages.shown[0].text.contains(QStringLiteral("Drucker: ") + printer + "\r"));
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
    QCOMPARE(h.fakes.messages.shown[0].text,
             QStringLiteral("Der Drucker \u201EKeller Laser\u201C ist nicht vorhanden. Bitte wählen "
                            "Sie einen Drucker aus der Liste."));
    QVERIFY(h.printers.jobs.isEmpty());
}

void TestPrintDialog::runStoppedEarlyIsReported_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("jobs");
    QTest::addColumn<QString>("report");
    const QString cancelled = QStringLiteral("Gedruckt wurden 3 von 6 Spielscheinen.");
    QTest::newRow("printer refuses ticket 3")
        << "refuse" << 3
        << QStringLiteral("Der Druck wurde abgebrochen: Der Drucker \u201EKeller Laser\u201C hat den "
                          "Spielschein 3 nicht angenommen.\rGedruckt wurden 2 von 6 Spielscheinen.");
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
    if (how == "refuse") {
        h.printers.refuseAtJob = 3;
    } else {
        h.printers.onStartJob = [&](int n) {
            if (n == 1) // a slow first ticket: the run promises to take long
                QThread::msleep(400);
            if (n != 3)
                return;
            auto *window = h.dialog->findChild<QDialog *>(QStringLiteral("frmFortschritt"));
            if (!window || !window->isVisible())
                return;
            progress = window->findChild<QLabel *>(QStringLiteral("lblFortschritt"))->text();
            modal = QApplication::activeModalWidget() == window;
            if (how == "click")
                QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmdAbbrechen")),
                                  Qt::LeftButton);
            else if (how == "esc")
                QTest::keyClick(window, Qt::Key_Escape);
            else
                window->close();
        };
    }
    h.clickDrucken();
    if (how != "refuse") {
        QCOMPARE(progress, QStringLiteral("Spielschein 3 von 6 wird gedruckt"));
        QVERIFY(modal);
    }
    QCOMPARE(h.printers.jobs.size(), jobs);
    QCOMPARE(h.fakes.messages.shown.size(), 2);
    const test::ShownBox box = h.fakes.messages.shown[1];
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QCOMPARE(box.title, QStringLiteral("Spielscheinoptionen"));
    QCOMPARE(box.text, report);
    QVERIFY(!h.dialog->findChild<QDialog *>(QStringLiteral("frmFortschritt")));
    QVERIFY(h.dialog->isVisible());
    QCOMPARE(h.mainShown, 0);
    QCOMPARE(h.combo("cboScheine")->currentText(), QStringLiteral("6"));
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
