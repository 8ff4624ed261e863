// The check number: every layout there and back, typing errors refused, five tickets pinned.
#include "tickets/checknumber.h"

#include <QtTest>

using namespace kugelfon;

// A ticket as "pool: row, row / next block", a free cell's number in brackets.
static QString render(const NumberedTicket &t)
{
    QStringList blocks, rows, cells;
    for (int b = 1; b <= t.layout.blocks; ++b, blocks << rows.join(", "), rows.clear())
        for (int r = 1; r <= t.layout.rows; ++r, rows << cells.join(' '), cells.clear())
            for (int c = 1; c <= t.layout.columns; ++c)
                cells << QString(c == t.freeColumn[b][r] ? "[%1]" : "%1").arg(t.numbers.at(b, r, c));
    return QString::number(t.layout.pool) + ": " + blocks.join(" / ");
}

constexpr char kSecond[] = "90: 76 45 7 89 71 [32] 75 6 35, 36 46 72 66 37 40 8 27 [2] / 73 [25] 17 71 49 33 48 87 82, 23 4 90 27 [64] 43 29 40 78 / 4 61 79 50 85 [77] 39 3 69, 30 23 75 [5] 20 11 51 9 38";

// Typed numbers and the ticket or the error they give; the first five tickets
// as the first build made them, so that every build must agree.
const char *const kTyped[][2] = {
    {"1000 0000 0000 0089", "75: 50 55 45 27 31"},
    {"1000 9422 0662 0570", kSecond},
    {"1999 9999 9961 0891", "75: 74 17 26 [13] 22, 49 1 4 [72] 67, 69 70 [29] 48 35 / 24 56 52 33 [68], 72 [44] 71 37 73, 38 27 40 [65] 64"},
    {"1246 9134 9980 1380", "90: 76 59 60 54 30 3 11 2 68 62, 4 79 14 84 71 52 42 89 20 25, 87 73 75 9 90 40 34 44 48 13, 16 80 51 65 78 53 67 32 56 28"},
    {"1543 6562 0085 0513", "75: 27 [36] 69 7 31 19, 68 3 4 17 49 [61] / 40 24 5 36 6 [26], 46 69 22 53 38 [21] / 49 [19] 44 24 40 59, 66 69 72 71 [31] 51 / 37 3 [59] 64 69 60, 24 70 [18] 53 58 27 / [50] 73 1 10 38 4, 45 18 14 42 54 [24] / 35 [66] 41 38 34 39, 45 67 60 [44] 21 23"},
    {" 1000-9422\t0662\u20130570 ", kSecond}, {"1000\u00a09422\u00a00662\u00a00570", kSecond},
    {"1000 9422 0662 O570", "NotDigits"}, {"1000.9422.0662.0570", "NotDigits"}, {"Prüfnummer 1000 9422 0662 0570", "NotDigits"}, {"", "WrongLength"},
    {"1000 9422 0662 057", "WrongLength"}, {"1000 9422 0662 0570 0", "WrongLength"}, {"1000 9422 0662 0571", "WrongCheckDigit"},
    {"2000 0000 0000 0099", "UnknownVersion"}, {"0000 0000 0000 0092", "UnknownVersion"}, {"1000 0000 0000 9981", "Impossible"}, // 25 x 20 of 75
};

class TestCheckNumber : public QObject {
    Q_OBJECT
private slots:
    // Every layout the dialog lets through comes back whole, with distinct
    // numbers of its pool in each block and one free cell per row when asked;
    // no other gets a number.
    void everyLayoutThereAndBack()
    {
        const std::pair<std::uint32_t, int> runs[] = {{0, 1}, {kCheckNumberSeries - 1, kMaxTickets}, {1234567, 250}, {42, 7}};
        for (int k = 0; k < 2 * kMaxBlocks * kMaxRows * kMaxColumns * 2; ++k) {
            const TicketLayout l{k % 2 ? 90 : 75, k / 2 % kMaxBlocks + 1, k / 40 % kMaxRows + 1, k / 1000 % kMaxColumns + 1, k >= 20000};
            const auto [series, index] = runs[k % 7 % 4];
            const QString digits = encodeCheckNumber(l, series, index);
            const CheckNumberResult r = decodeCheckNumber(groupCheckNumber(digits));
            const NumberedTicket &t = r.ticket;
            QVERIFY2(digits.isEmpty() ? l.rows * l.columns > l.pool
                                      : digits.size() == 16 && r.error == CheckNumberError::None && t.layout == l && t.series == series && t.index == index,
                     qPrintable(QString("%1 %2 %3 %4 %5: %6").arg(l.pool).arg(l.blocks).arg(l.rows).arg(l.columns).arg(l.freeCells).arg(digits)));
            for (int b = 1; b <= l.blocks && !digits.isEmpty(); ++b) {
                QSet<int> seen;
                for (int row = 1; row <= l.rows; ++row) {
                    const int fc = t.freeColumn[b][row];
                    QVERIFY2(l.freeCells ? fc >= 1 && fc <= l.columns : fc == 0, qPrintable(digits));
                    for (int c = 1; c <= l.columns; ++c)
                        seen.insert(t.numbers.at(b, row, c) <= l.pool ? t.numbers.at(b, row, c) : 0);
                }
                QVERIFY2(seen.size() == l.rows * l.columns && !seen.contains(0), qPrintable(digits));
            }
        }
    }

    // Each typed form gives its ticket or its error; in a valid number every
    // single wrong digit and every swap of unequal neighbours is refused.
    void typedNumbers()
    {
        const char *const errors[] = {"", "NotDigits", "WrongLength", "WrongCheckDigit", "UnknownVersion", "Impossible"};
        for (const auto &[typed, expected] : kTyped) {
            const CheckNumberResult r = decodeCheckNumber(QString::fromUtf8(typed));
            QCOMPARE(r.error == CheckNumberError::None ? render(r.ticket) : QString(errors[int(r.error)]), QString::fromUtf8(expected));
            const QString digits = QString::fromUtf8(typed).remove(' ');
            for (int i = 0; i < 16 && r.error == CheckNumberError::None && digits.size() == 16; ++i) {
                QStringList wrong = {digits.left(i) + digits.mid(i + 1, 1) + digits[i] + digits.mid(i + 2)}; // swapped
                for (char d = '0'; d <= '9'; ++d)
                    wrong << QString(digits).replace(i, 1, QChar(d));
                for (const QString &w : std::as_const(wrong))
                    QVERIFY2(w == digits || (w.size() == 16 && decodeCheckNumber(w).error == CheckNumberError::WrongCheckDigit), qPrintable(w));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCheckNumber)
#include "test_checknumber.moc"
