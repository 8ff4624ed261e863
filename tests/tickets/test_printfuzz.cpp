// Ten thousand random entries into the print dialog: every press of
// "Drucken" ends in a refusal or in a summary of values that can be printed,
// and a confirmed run prints exactly what the summary said.
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

// The count after a label of the summary, if a whole number in min..max.
std::optional<int> count(const QString &summary, const QString &label, int min, int max)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    const QRegularExpression re(QStringLiteral("\r        ") + QRegularExpression::escape(label)
                                + QStringLiteral("([^\r]*?)( Schein\\(e\\))?\r"));
    const QString text = re.match(summary).captured(1);
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok && whole.match(text).hasMatch() && v >= min && v <= max ? std::optional<int>(int(v)) : std::nullopt;
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

    int expectedTickets = 0, expectedCells = 0, summaries = 0, refusals = 0, runs = 0;
    QString badSummary;
    h.fakes.messages.responder = [&](const test::ShownBox &box) {
        if (box.buttons == MsgButtons::Ok)
            return kAnswerOk;
        ++summaries;
        const int pool = box.text.contains(QStringLiteral("Zahlenmodus:  90 Zahlen \r")) ? 90 : 75;
        const auto columns = count(box.text, "Zahlenspalten: ", 1, 20);
        const auto rows = count(box.text, "Zahlenreihen: ", 1, 25);
        const auto blocks = count(box.text, "Zahlenblöcke: ", 1, 20);
        const auto tickets = count(box.text, "Spielscheine: ", 1, kMaxTickets);
        if (!columns || !rows || !blocks || !tickets || *rows * *columns > pool) {
            badSummary = box.text;
            return kAnswerNo;
        }
        // Print whenever the run is short.
        expectedTickets = *tickets <= 10 ? *tickets : 0;
        expectedCells = *blocks * *rows * *columns;
        return expectedTickets ? kAnswerYes : kAnswerNo;
    };

    int typed = 0, presses = 0;
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
            QVERIFY(box.buttons == MsgButtons::YesNo || !box.text.isEmpty());
            refusals += box.buttons == MsgButtons::Ok;
            QCOMPARE(h.printers.jobs.size(), expectedTickets);
            for (const test::FakeJob &job : h.printers.jobs)
                QCOMPARE(job.page->engine().rects.size(), expectedCells);
            runs += expectedTickets > 0;
            h.printers.jobs.clear();
        }
    }
    // The walk must have reached all three outcomes to mean anything.
    const QString outcomes = QStringLiteral("%1 texts, %2 presses: %3 refusals, %4 summaries, %5 runs")
                                 .arg(typed).arg(presses).arg(refusals).arg(summaries).arg(runs);
    QVERIFY2(refusals > 50 && summaries > 50 && runs > 5, qPrintable(outcomes));
}

QTEST_MAIN(TestPrintFuzz)
#include "test_printfuzz.moc"
