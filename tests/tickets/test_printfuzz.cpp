#include "dialoghelpers.h"

#include <QRandomGenerator>
#include <QRegularExpression>

using namespace kugelfon;
using kugelfon::test::DialogHarness;

namespace {

QString randomText(QRandomGenerator &rng)
{
    const int kind = rng.bounded(100);
    if (kind < 8)
        return {};
    if (kind < 16) { // far beyond any integer type
        QString digits;
        const int n = 12 + rng.bounded(30);
        for (int i = 0; i < n; ++i)
            digits += QChar('0' + rng.bounded(10));
        return rng.bounded(2) ? digits : QStringLiteral("-") + digits;
    }
    if (kind < 60) { // small numbers, the likely case
        QString s = QString::number(rng.bounded(-3, 30));
        if (rng.bounded(6) == 0)
            s = QStringLiteral(" ") + s;
        if (rng.bounded(6) == 0)
            s += QStringLiteral(" ");
        return s;
    }
    static const QString alphabet = QStringLiteral("0123456789012345+- .,eEaxZäöüß");
    QString s;
    const int n = 1 + rng.bounded(7);
    for (int i = 0; i < n; ++i)
        s += alphabet[rng.bounded(alphabet.size())];
    return s;
}

// The value after a label of the summary, e.g. "Zahlenreihen: ".
QString field(const QString &summary, const QString &label)
{
    const QRegularExpression re(QStringLiteral("        ") + QRegularExpression::escape(label)
                                + QStringLiteral("([^\r]*)\r"));
    const auto m = re.match(summary);
    return m.hasMatch() ? m.captured(1) : QStringLiteral("<missing>");
}

int wholeIn(const QString &text, int min, int max, bool &ok)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    if (!whole.match(text).hasMatch()) {
        ok = false;
        return 0;
    }
    const qint64 v = text.trimmed().toLongLong(&ok);
    ok = ok && v >= min && v <= max;
    return int(v);
}

} // namespace

class TestPrintFuzz : public QObject {
    Q_OBJECT
private slots:
    void randomInputNeverEscapesTheLimits();
};

void TestPrintFuzz::randomInputNeverEscapesTheLimits()
{
    DialogHarness h;
    QVERIFY(h.open());
    QRandomGenerator rng(20261206); // fixed: a failure can be replayed
    const char *combos[] = {"cboSpalten", "cboReihen", "cboBlöcke", "cboScheine"};

    int expectedTickets = 0;
    int expectedCells = 0;
    QString badSummary;
    int summaries = 0;
    int refusals = 0;
    int runs = 0;
    h.fakes.messages.responder = [&](const test::ShownBox &box) {
        if (box.buttons == MsgButtons::Ok)
            return kAnswerOk;
        ++summaries;
        bool ok = true;
        bool fieldOk = true;
        const int pool = box.text.contains(QStringLiteral("Zahlenmodus:  90 Zahlen \r")) ? 90 : 75;
        const int columns = wholeIn(field(box.text, "Zahlenspalten: "), 1, 20, fieldOk);
        ok = ok && fieldOk;
        const int rows = wholeIn(field(box.text, "Zahlenreihen: "), 1, 25, fieldOk);
        ok = ok && fieldOk;
        const int blocks = wholeIn(field(box.text, "Zahlenblöcke: "), 1, 20, fieldOk);
        ok = ok && fieldOk;
        const QString ticketText = field(box.text, "Spielscheine: ").remove(QStringLiteral(" Schein(e)"));
        const int tickets = wholeIn(ticketText, 1, kMaxTickets, fieldOk);
        ok = ok && fieldOk && rows * columns <= pool;
        if (!ok)
            badSummary = box.text;
        // Print whenever the run is short.
        if (ok && tickets <= 10) {
            expectedTickets = tickets;
            expectedCells = blocks * rows * columns;
            return kAnswerYes;
        }
        return kAnswerNo;
    };

    int typed = 0;
    int presses = 0;
    while (typed < 10000) {
        const int action = rng.bounded(1000);
        if (action < 780) {
            h.type(combos[rng.bounded(4)], randomText(rng));
            ++typed;
        } else if (action < 840) {
            QWidget *from = QApplication::focusWidget();
            QVERIFY(from);
            QTest::keyClick(from, Qt::Key_Tab, rng.bounded(2) ? Qt::NoModifier : Qt::ShiftModifier);
        } else if (action < 880) {
            h.clickInto(combos[rng.bounded(4)]);
        } else if (action < 900) {
            h.clickPool(rng.bounded(2) ? 90 : 75);
        } else {
            const int before = h.fakes.messages.shown.size();
            expectedTickets = 0;
            ++presses;
            if (action >= 997) { // the access key waits for its animated click
                QTest::keyClick(h.dialog, Qt::Key_D, Qt::AltModifier);
                QTRY_VERIFY_WITH_TIMEOUT(h.fakes.messages.shown.size() > before, 2000);
            } else {
                h.clickDrucken();
            }
            QVERIFY(h.dialog);
            // Always an answer: a refusal or a summary of valid values.
            QCOMPARE(h.fakes.messages.shown.size() - before, 1);
            const test::ShownBox box = h.fakes.messages.shown.last();
            QCOMPARE(box.title, QStringLiteral("Spielscheinoptionen"));
            QVERIFY2(badSummary.isEmpty(), qPrintable(badSummary));
            if (box.buttons == MsgButtons::Ok) {
                ++refusals;
                QVERIFY(!box.text.isEmpty());
            }
            QCOMPARE(h.printers.jobs.size(), expectedTickets);
            for (const test::FakeJob &job : h.printers.jobs)
                QCOMPARE(job.page->engine().rects.size(), expectedCells);
            if (expectedTickets > 0)
                ++runs;
            h.printers.jobs.clear();
        }
    }
    qInfo("%d texts, %d presses: %d refusals, %d summaries, %d runs", typed, presses, refusals,
          summaries, runs);
    // The walk must have reached all three outcomes to mean anything.
    QVERIFY(refusals > 50);
    QVERIFY(summaries > 50);
    QVERIFY(runs > 5);
}

QTEST_MAIN(TestPrintFuzz)
#include "test_printfuzz.moc"
