#include "tickets/checknumber.h"

#include <array>
#include <numeric>

namespace kugelfon {

namespace {

// Damm's quasigroup of order 10: weakly totally anti-symmetric, zeros on the
// diagonal, so a number followed by its check digit runs back to 0.
constexpr std::uint8_t kDamm[10][10] = {
    {0, 3, 1, 7, 5, 9, 8, 6, 4, 2}, {7, 0, 9, 2, 1, 5, 4, 8, 6, 3}, {4, 2, 0, 6, 8, 7, 1, 3, 5, 9},
    {1, 7, 5, 0, 9, 8, 3, 4, 2, 6}, {6, 1, 2, 3, 0, 4, 5, 9, 7, 8}, {3, 6, 7, 4, 2, 0, 9, 5, 8, 1},
    {5, 8, 6, 9, 7, 2, 0, 1, 3, 4}, {8, 9, 4, 5, 3, 6, 2, 0, 1, 7}, {9, 4, 3, 8, 6, 1, 7, 2, 0, 5},
    {2, 5, 8, 1, 4, 3, 6, 7, 9, 0}};

constexpr int kPayloadDigits = kCheckNumberDigits - 2;

// The radices of the payload below the series, least significant first.
struct Radix {
    std::uint64_t freeCells = 2, columns = kMaxColumns, rows = kMaxRows, blocks = kMaxBlocks,
                  pool = 2, index = kMaxTickets;
};
constexpr Radix kRadix;
constexpr std::uint64_t kBelowSeries =
    kRadix.freeCells * kRadix.columns * kRadix.rows * kRadix.blocks * kRadix.pool * kRadix.index;
static_assert(kBelowSeries * kCheckNumberSeries <= 100'000'000'000'000ULL,
              "the payload fits its 14 digits");

std::uint64_t mix64(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// SplitMix64 with Lemire's unbiased mapping onto 0..n-1: integer arithmetic
// only, so every platform draws the same.
class SplitMix {
public:
    explicit SplitMix(std::uint64_t seed) : m_state(mix64(seed)) {}
    std::uint64_t next()
    {
        m_state += 0x9e3779b97f4a7c15ULL;
        return mix64(m_state);
    }
    std::uint32_t below(std::uint32_t n)
    {
        std::uint64_t m = (next() >> 32) * n;
        if (static_cast<std::uint32_t>(m) < n) {
            const std::uint32_t threshold = (0U - n) % n;
            while (static_cast<std::uint32_t>(m) < threshold)
                m = (next() >> 32) * n;
        }
        return static_cast<std::uint32_t>(m >> 32);
    }

private:
    std::uint64_t m_state;
};

bool inRange(std::uint32_t series, int index)
{
    return series < kCheckNumberSeries && index >= 1 && index <= kMaxTickets;
}

std::uint64_t payload(const TicketLayout &l, std::uint32_t series, int index)
{
    std::uint64_t p = series;
    p = p * kRadix.index + static_cast<std::uint64_t>(index - 1);
    p = p * kRadix.pool + (l.pool == 90 ? 1 : 0);
    p = p * kRadix.blocks + static_cast<std::uint64_t>(l.blocks - 1);
    p = p * kRadix.rows + static_cast<std::uint64_t>(l.rows - 1);
    p = p * kRadix.columns + static_cast<std::uint64_t>(l.columns - 1);
    return p * kRadix.freeCells + (l.freeCells ? 1 : 0);
}

// Takes the lowest digit of radix r off p.
int take(std::uint64_t &p, std::uint64_t r)
{
    const auto d = static_cast<int>(p % r);
    p /= r;
    return d;
}

bool isDash(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'-' || (u >= 0x2010 && u <= 0x2015) || u == 0x2212;
}

} // namespace

bool isPrintableLayout(const TicketLayout &l)
{
    return (l.pool == 75 || l.pool == 90) && l.blocks >= 1 && l.blocks <= kMaxBlocks && l.rows >= 1
           && l.rows <= kMaxRows && l.columns >= 1 && l.columns <= kMaxColumns
           && l.rows * l.columns <= l.pool;
}

TicketLayout ticketLayout(const PrintSettings &s)
{
    return {s.pool, s.blocks, s.rows, s.columns, s.freeCells};
}

NumberedTicket buildNumberedTicket(const TicketLayout &layout, std::uint32_t series, int index)
{
    NumberedTicket t;
    t.layout = layout;
    t.series = series;
    t.index = index;
    if (!isPrintableLayout(layout) || !inRange(series, index))
        return t;
    SplitMix random((static_cast<std::uint64_t>(kCheckNumberVersion) << 56)
                    | payload(layout, series, index));
    std::array<std::int16_t, 90> order{};
    const int cells = layout.rows * layout.columns;
    for (int b = 1; b <= layout.blocks; ++b) {
        // The first cells of a Fisher-Yates shuffle of the whole pool.
        std::iota(order.begin(), order.begin() + layout.pool, std::int16_t{1});
        for (int i = 0; i < cells; ++i)
            std::swap(order[i], order[i + random.below(static_cast<std::uint32_t>(layout.pool - i))]);
        for (int r = 1; r <= layout.rows; ++r)
            for (int c = 1; c <= layout.columns; ++c)
                t.numbers.cells[b][r][c] = order[(r - 1) * layout.columns + c - 1];
        if (layout.freeCells)
            for (int r = 1; r <= layout.rows; ++r)
                t.freeColumn[b][r] =
                    static_cast<std::int8_t>(1 + random.below(static_cast<std::uint32_t>(layout.columns)));
    }
    return t;
}

int dammCheckDigit(QStringView digits)
{
    int interim = 0;
    for (const QChar c : digits)
        interim = kDamm[interim][c.unicode() - u'0'];
    return interim;
}

QString encodeCheckNumber(const TicketLayout &layout, std::uint32_t series, int index)
{
    if (!isPrintableLayout(layout) || !inRange(series, index))
        return {};
    QString digits = QString::number(kCheckNumberVersion)
                     + QStringLiteral("%1").arg(payload(layout, series, index), kPayloadDigits, 10,
                                                QLatin1Char('0'));
    return digits + QString::number(dammCheckDigit(digits));
}

QString groupCheckNumber(const QString &digits)
{
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); i += 4) {
        if (i)
            grouped += QLatin1Char(' ');
        grouped += digits.mid(i, 4);
    }
    return grouped;
}

CheckNumberResult decodeCheckNumber(const QString &typed)
{
    CheckNumberResult result;
    QString digits;
    for (const QChar c : typed) {
        if (c >= u'0' && c <= u'9')
            digits += c;
        else if (!c.isSpace() && !isDash(c)) {
            result.error = CheckNumberError::NotDigits;
            return result;
        }
    }
    if (digits.size() != kCheckNumberDigits)
        result.error = CheckNumberError::WrongLength;
    else if (dammCheckDigit(digits) != 0)
        result.error = CheckNumberError::WrongCheckDigit;
    else if (digits.front().unicode() - u'0' != kCheckNumberVersion)
        result.error = CheckNumberError::UnknownVersion;
    if (result.error != CheckNumberError::None)
        return result;

    std::uint64_t p = digits.mid(1, kPayloadDigits).toULongLong();
    TicketLayout l;
    l.freeCells = take(p, kRadix.freeCells) == 1;
    l.columns = take(p, kRadix.columns) + 1;
    l.rows = take(p, kRadix.rows) + 1;
    l.blocks = take(p, kRadix.blocks) + 1;
    l.pool = take(p, kRadix.pool) == 1 ? 90 : 75;
    const int index = take(p, kRadix.index) + 1;
    const auto series = static_cast<std::uint32_t>(p);
    if (!isPrintableLayout(l)) {
        result.error = CheckNumberError::Impossible;
        return result;
    }
    result.ticket = buildNumberedTicket(l, series, index);
    return result;
}

} // namespace kugelfon
