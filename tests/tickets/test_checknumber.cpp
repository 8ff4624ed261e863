// The check number: every printable layout there and back, typing errors
// refused, and five tickets pinned so that every build rebuilds them alike.
#include "tickets/checknumber.h"

#include <QtTest>

using namespace kugelfon;

namespace {

// "pool: row, row / next block", a free cell's number in brackets.
QString render(const NumberedTicket &t)
{
    QStringList blocks, rows, cells;
    for (int b = 1; b <= t.layout.blocks; ++b, blocks << rows.join(", "), rows.clear())
        for (int r = 1; r <= t.layout.rows; ++r, rows << cells.join(' '), cells.clear())
            for (int c = 1; c <= t.layout.columns; ++c)
                cells << QString(c == t.freeColumn[b][r] ? "[%1]" : "%1").arg(t.numbers.at(b, r, c));
    return QString::number(t.layout.pool) + ": " + blocks.join(" / ");
}

const char *const kGolden[][2] = {
    {"1000 0000 0000 0089", "75: 50 55 45 27 31"},
    {"1000 9422 0662 0570", "90: 76 45 7 89 71 [32] 75 6 35, 36 46 72 66 37 40 8 27 [2] / 73 [25] 17 71 49 33 48 87 82, 23 4 90 27 [64] 43 29 40 78 / 4 61 79 50 85 [77] 39 3 69, 30 23 75 [5] 20 11 51 9 38"},
    {"1999 9999 9961 0891", "75: 74 17 26 [13] 22, 49 1 4 [72] 67, 69 70 [29] 48 35 / 24 56 52 33 [68], 72 [44] 71 37 73, 38 27 40 [65] 64"},
    {"1246 9134 9980 1380", "90: 76 59 60 54 30 3 11 2 68 62, 4 79 14 84 71 52 42 89 20 25, 87 73 75 9 90 40 34 44 48 13, 16 80 51 65 78 53 67 32 56 28"},
    {"1543 6562 0085 0513", "75: 27 [36] 69 7 31 19, 68 3 4 17 49 [61] / 40 24 5 36 6 [26], 46 69 22 53 38 [21] / 49 [19] 44 24 40 59, 66 69 72 71 [31] 51 / 37 3 [59] 64 69 60, 24 70 [18] 53 58 27 / [50] 73 1 10 38 4, 45 18 14 42 54 [24] / 35 [66] 41 38 34 39, 45 67 60 [44] 21 23"},
};

double chiSquare(const QList<int> &counts, double expected)
{
    double sum = 0;
    for (int n : counts.mid(1))
        sum += (n - expected) * (n - expected) / expected;
    return counts[0] ? 1e9 : sum;
}

} // namespace

class TestCheckNumber : public QObject {
    Q_OBJECT
private slots:
    // Every layout the dialog lets through comes back whole, with distinct
    // numbers of its pool in each block and one free cell per row when asked;
    // no other gets a number.
    void everyLayoutThereAndBack()
    {
        const std::pair<std::uint32_t, int> runs[] = {{0, 1}, {kCheckNumberSeries - 1, kMaxTickets}, {1234567, 250}, {42, 7}};
        int n = 0;
        for (int pool : {75, 90})
            for (int blocks = 1; blocks <= kMaxBlocks; ++blocks)
                for (int rows = 1; rows <= kMaxRows; ++rows)
                    for (int columns = 1; columns <= kMaxColumns; ++columns)
                        for (bool free : {false, true}) {
                            const auto [series, index] = runs[++n % 4];
                            const QString digits = encodeCheckNumber({pool, blocks, rows, columns, free}, series, index);
                            const QString what = QString("%1 %2 %3 %4 %5: %6").arg(pool).arg(blocks).arg(rows).arg(columns).arg(free).arg(digits);
                            QVERIFY2(digits.isEmpty() == (rows * columns > pool), qPrintable(what));
                            if (digits.isEmpty())
                                continue;
                            const CheckNumberResult r = decodeCheckNumber(groupCheckNumber(digits));
                            const TicketLayout &d = r.ticket.layout;
                            QVERIFY2(digits.size() == 16 && r.error == CheckNumberError::None && r.ticket.series == series && r.ticket.index == index
                                         && d.pool == pool && d.blocks == blocks && d.rows == rows && d.columns == columns && d.freeCells == free,
                                     qPrintable(what));
                            for (int b = 1; b <= blocks; ++b) {
                                QSet<int> seen;
                                for (int row = 1; row <= rows; ++row) {
                                    const int fc = r.ticket.freeColumn[b][row];
                                    QVERIFY2(free ? fc >= 1 && fc <= columns : fc == 0, qPrintable(what));
                                    for (int c = 1; c <= columns; ++c)
                                        seen.insert(r.ticket.numbers.at(b, row, c) <= pool ? r.ticket.numbers.at(b, row, c) : 0);
                                }
                                QVERIFY2(seen.size() == rows * columns && !seen.contains(0), qPrintable(what));
                            }
                        }
    }

    // The first cell and the free column over 9000 tickets: each value about
    // equally often (chi-square below its p = 0.001 bound).
    void drawsAreUniform()
    {
        QList<int> first(91), free(21);
        for (int index = 1; index <= kMaxTickets; ++index)
            for (std::uint32_t series = 0; series < 18; ++series) {
                const NumberedTicket t = buildNumberedTicket({90, 1, 1, 20, true}, series * 277, index);
                ++first[t.numbers.at(1, 1, 1)], ++free[t.freeColumn[1][1]];
            }
        QVERIFY2(chiSquare(first, 100) < 136.0 && chiSquare(free, 450) < 43.8, qPrintable(QString("%1 %2").arg(chiSquare(first, 100)).arg(chiSquare(free, 450))));
    }

    // The five tickets as the first build made them, under Wine as on Linux;
    // every single wrong digit and every swap of unequal neighbours refused.
    void goldenTicketsAndTypingErrors()
    {
        for (const auto &[number, ticket] : kGolden) {
            const CheckNumberResult r = decodeCheckNumber(QString::fromLatin1(number));
            QCOMPARE(render(r.ticket), QString::fromLatin1(ticket));
            QCOMPARE(groupCheckNumber(encodeCheckNumber(r.ticket.layout, r.ticket.series, r.ticket.index)), QString::fromLatin1(number));
            const QString digits = QString::fromLatin1(number).remove(' ');
            for (int i = 0; i < digits.size(); ++i) {
                QStringList wrong = {digits.left(i) + digits.mid(i + 1, 1) + digits[i] + digits.mid(i + 2)}; // swapped
                for (char d = '0'; d <= '9'; ++d)
                    wrong << QString(digits).replace(i, 1, QChar(d));
                for (const QString &w : std::as_const(wrong))
                    QVERIFY2(w == digits || (w.size() == 16 && decodeCheckNumber(w).error == CheckNumberError::WrongCheckDigit), qPrintable(w));
            }
        }
    }

    // Bad input gives its error and no ticket; blanks and dashes are nothing.
    void typedForms()
    {
        const struct { const char *typed; CheckNumberError error; } cases[] = {
            {"1000 9422 0662 0570", CheckNumberError::None}, {" 1000-9422\t0662\u20130570 ", CheckNumberError::None},
            {"1000\u00a09422\u00a00662\u00a00570", CheckNumberError::None}, {"1000 9422 0662 O570", CheckNumberError::NotDigits},
            {"1000.9422.0662.0570", CheckNumberError::NotDigits}, {"Prüfnummer 1000 9422 0662 0570", CheckNumberError::NotDigits},
            {"", CheckNumberError::WrongLength}, {"1000 9422 0662 057", CheckNumberError::WrongLength},
            {"1000 9422 0662 0570 0", CheckNumberError::WrongLength}, {"1000 9422 0662 0571", CheckNumberError::WrongCheckDigit},
            {"2000 0000 0000 0099", CheckNumberError::UnknownVersion}, {"0000 0000 0000 0092", CheckNumberError::UnknownVersion},
            {"1000 0000 0000 9981", CheckNumberError::Impossible}, // 25 rows of 20 from 75
        };
        for (const auto &[typed, error] : cases) {
            const CheckNumberResult r = decodeCheckNumber(QString::fromUtf8(typed));
            QVERIFY2(r.error == error && render(r.ticket) == (error == CheckNumberError::None ? kGolden[1][1] : "75: 0 0 0 0 0"), typed);
        }
    }
};

QTEST_GUILESS_MAIN(TestCheckNumber)
#include "test_checknumber.moc"
