#include "ui/hall/halldisplay.h"

#include "platform/appinfo.h"
#include "ui/kit/windowframe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace kugelfon {

namespace {

// Light on dark for a projector in a lit hall. Drawn numbers differ from the
// others by brightness and weight, not by hue, and the latest one carries a
// frame of another brightness and an underline.
const QColor kBackground(11, 14, 18);
const QColor kPanel(26, 31, 38);
const QColor kNumber(255, 255, 255);
const QColor kCountText(230, 230, 230);
const QColor kDarkCell(38, 43, 50);
const QColor kDarkCellText(130, 138, 148);
const QColor kLitCell(255, 212, 0);
const QColor kLitCellText(0, 0, 0);
const QColor kLatestFrame(0, 120, 255);

// Screens come and go in bursts (a projector resyncing), and a dragged
// window moves in many steps: the hall moves once they have been still
// this long.
constexpr int kSettleMs = 400;
// How often it looks where the organiser's window is while it is dragged.
constexpr int kWatchMs = 40;

// Kept below the program's other windows by the window manager itself, so
// the organiser's window stays above it at every moment, even while the
// window thread is busy. No maximise button: the rules choose its size.
constexpr Qt::WindowFlags kFramed = Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                                    | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
                                    | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnBottomHint;
constexpr Qt::WindowFlags kFrameless = Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                                       | Qt::WindowStaysOnBottomHint;

// A checked ticket in the board's colours: called numbers lit.
TicketColours hallTicketColours()
{
    return {kBackground, kBackground, kDarkCell, kDarkCellText, kLitCell, kLitCellText, kPanel};
}

const QString kWidestNumber = QStringLiteral("88");
const QString kBingoWord = QStringLiteral("Bingo!");
const QString kCountPrefix = QStringLiteral("gezeigte Zahlen: ");
const QString kWidestCount = kCountPrefix + QStringLiteral("88 von 90");

QFont hallFont(bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting); // ink scales with the size
    return f;
}

// The font at the largest pixel size whose ink of `text` fits `box`.
QFont fitted(QFont font, const QString &text, const QSizeF &box)
{
    constexpr int kProbe = 400;
    font.setPixelSize(kProbe);
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(text);
    const double scale = std::min(box.width() / ink.width(), box.height() / ink.height());
    font.setPixelSize(std::max(1, static_cast<int>(kProbe * scale)));
    return font;
}

QRect insetBy(const QRect &r, double fx, double fy)
{
    const int dx = static_cast<int>(r.width() * fx), dy = static_cast<int>(r.height() * fy);
    return r.adjusted(dx, dy, -dx, -dy);
}

} // namespace

HallDisplay::HallDisplay(const Caller &caller, IScreenList &screens, QWidget &organiser,
                         const ShownTicket *checked)
    : m_caller(caller), m_checked(checked), m_screens(screens), m_organiser(organiser)
{
    setObjectName(QStringLiteral("frmSaalanzeige"));
    setWindowTitle(appinfo::productWithVersion() + QStringLiteral(" - Saalanzeige"));
    // The organiser keeps typing and clicking in the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    // Painted whole, without Qt clearing it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMinimumSize(kHallMinimumSize);
    setWindowFlags(kFramed);

    m_lastActive = QGuiApplication::focusWindow();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *w) {
        if (w && w != windowHandle())
            m_lastActive = w;
    });
    for (auto changed : {&Caller::numberChanged, &Caller::marksChanged, &Caller::settingsChanged})
        connect(&caller, changed, this, &HallDisplay::showState);
    if (m_checked)
        connect(m_checked, &ShownTicket::changed, this, [this] { update(layout().board); });
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &HallDisplay::place);
    m_watch.setInterval(kWatchMs);
    connect(&m_watch, &QTimer::timeout, this, &HallDisplay::watchOrganiser);
    m_watch.start();
    m_screens.setChangeHandler([this] { changing(); });
    m_organiser.installEventFilter(this);
    showState();
    place();
}

HallDisplay::~HallDisplay()
{
    m_screens.setChangeHandler({});
    m_organiser.removeEventFilter(this);
}

// ------------------------------------------------------------------ state

void HallDisplay::showState()
{
    const CallerView &v = m_caller.view();
    Shown now;
    now.display = v.display;
    now.word = v.displayLetters;
    now.count = v.shownCount;
    now.pool = poolSize(v.settings.pool);
    now.lit = v.marked;
    if (v.lastNumber >= 1 && v.lastNumber <= kMaxPool && v.marked.test(size_t(v.lastNumber)))
        now.latest = v.lastNumber;

    const bool numberChanged = now.display != m_shown.display || now.word != m_shown.word;
    QRegion dirty;
    if (now.pool != m_shown.pool) {
        dirty = rect();
    } else {
        const Layout &l = layout();
        if (numberChanged) // only where the old and the new one leave marks
            dirty += placeText(l, m_shown.display, m_shown.word).ink.united(placeText(l, now.display, now.word).ink);
        if (now.count != m_shown.count)
            dirty += l.countSlot;
        for (int n = 1; n <= now.pool; ++n) {
            const bool latest = n == now.latest, wasLatest = n == m_shown.latest;
            if (now.lit.test(size_t(n)) != m_shown.lit.test(size_t(n)) || latest != wasLatest)
                dirty += l.cells[size_t(n)];
        }
    }
    m_shown = now;
    if (dirty.isEmpty())
        return;
    // The caller plays a recording right after telling us, and the thread is
    // blocked while it plays: the hall sees the number while it is called.
    if (numberChanged)
        repaint(dirty);
    else
        update(dirty);
}

QString HallDisplay::countText() const
{
    const QString count = m_shown.count > 0 ? QString::number(m_shown.count) + QLatin1Char(' ')
                                            : QString();
    return kCountPrefix + count + QStringLiteral("von %1").arg(m_shown.pool);
}

// -------------------------------------------------------------- placement

HallPlacement HallDisplay::target() const
{
    return placeHall(m_screens.geometries(), organiserFrame(), kWindowFrameAllowance);
}

QRect HallDisplay::organiserFrame() const
{
    // Asked of the window system: some window managers tell a window where
    // it went only once a drag by its title ends.
    const QWindow *w = m_organiser.windowHandle();
    if (!w || !m_organiser.isVisible())
        return m_organiser.frameGeometry();
    const std::optional<QPoint> origin = m_screens.clientOrigin(w->winId());
    if (!origin)
        return m_organiser.frameGeometry();
    return QRect(*origin / w->devicePixelRatio(), w->size()).marginsAdded(w->frameMargins());
}

void HallDisplay::watchOrganiser()
{
    const QRect now = organiserFrame();
    if (now != m_organiserSeen) {
        m_organiserSeen = now;
        changing();
    }
}

bool HallDisplay::overlapsOrganiser() const
{
    return frameGeometry().intersects(organiserFrame());
}

void HallDisplay::changing()
{
    giveWay();
    m_settle.start();
}

void HallDisplay::giveWay()
{
    if (!isVisible())
        return;
    // Full-screen where the rules no longer put it, it would cover the
    // organiser's screen while things settle (a window manager moves it
    // off a screen that went away): out of sight at once. A window over the
    // organiser's goes behind it until it is placed again.
    if (m_fullScreen && (target() != m_placed || overlapsOrganiser()))
        hide();
    else if (!m_fullScreen && overlapsOrganiser())
        lower();
}

void HallDisplay::place()
{
    m_settle.stop();
    const HallPlacement p = target();
    if (p.rect.isEmpty() || m_closed) // no screen at all for a moment
        return;
    const bool full = p.kind == HallPlacement::Kind::FullScreen;
    bool appearing = false;
    if (!isVisible() || full != m_fullScreen || isFullScreen() != full || geometry() != p.rect) {
        if (full != m_fullScreen) {
            setWindowFlags(full ? kFrameless : kFramed);
            m_fullScreen = full;
        }
        // Leave full-screen first: a window manager keeps a full-screen
        // window where it is.
        setWindowState(Qt::WindowNoState);
        // The screen goes to the native window, which Qt moves off a screen
        // that goes away; QWidget::setScreen would keep the screen for the
        // next native window even after it is gone.
        winId();
        if (QScreen *s = QGuiApplication::screenAt(p.rect.center()))
            windowHandle()->setScreen(s);
        // Its size is the rules', not the window frame's to change.
        if (full) {
            setMinimumSize(kHallMinimumSize);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        } else {
            setFixedSize(p.rect.size());
        }
        setGeometry(p.rect);
        // Not showFullScreen(): it would activate the window.
        if (full)
            setWindowState(Qt::WindowFullScreen);
        appearing = !isVisible(); // new flags hide it too
        show();
    }
    if (p.kind == HallPlacement::Kind::Behind || overlapsOrganiser()) {
        // A window just shown stands in front. Wine hands a raise on to the X
        // window manager but never a lower, so the organiser's window is
        // raised over it too, while the program is in front; elsewhere that
        // changes nothing.
        if (appearing && QGuiApplication::applicationState() == Qt::ApplicationActive)
            m_organiser.raise();
        lower();
    }
    m_placed = p;
    // A question stays above every window of the program.
    if (QWidget *modal = QApplication::activeModalWidget())
        modal->raise();
}

bool HallDisplay::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == &m_organiser) {
        switch (e->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::WindowStateChange:
            changing();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, e);
}

// ----------------------------------------------------------------- input

bool HallDisplay::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        // Moved by the window manager or dragged by its title: never over
        // the organiser's window, whatever put it there.
        if (m_placed.kind != HallPlacement::Kind::Behind && isVisible() && overlapsOrganiser())
            changing();
        return QWidget::event(e);
    case QEvent::WindowActivate:
        // Where the platform activates it all the same (on showing it, or
        // on a click), the focus goes back at once.
        if (m_lastActive && m_lastActive->isVisible())
            m_lastActive->requestActivate();
        return QWidget::event(e);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true; // nothing here to operate
    default:
        return QWidget::event(e);
    }
}

void HallDisplay::closeEvent(QCloseEvent *e)
{
    // Its close button hides it for the rest of the evening; the program
    // itself ends it with the main window.
    if (e->spontaneous()) {
        m_closed = true;
        m_settle.stop();
        m_watch.stop();
    }
    e->accept();
}

// ---------------------------------------------------------------- layout

QRect HallDisplay::numberRect() const
{
    return layout().number;
}

QRect HallDisplay::cellRect(int number) const
{
    if (number < 1 || number > m_shown.pool)
        return {};
    return layout().cells[size_t(number)];
}

namespace {

// Number and count above the board or beside it, whichever gives the larger
// type, the board's numbers counting twice: they are the smallest text in
// the hall.
struct Arrangement {
    QRect panel, board, number, count;
    QFont cellFont, numberFont;
    double score = 0;
};

void completeArrangement(Arrangement &o, int columns, int rows)
{
    const QFont bold = hallFont(true);
    const QSizeF cell(o.board.width() / double(columns), o.board.height() / double(rows));
    o.cellFont = fitted(bold, kWidestNumber, QSizeF(cell.width() * 0.62, cell.height() * 0.56));
    if (o.panel.width() > 5 * o.panel.height()) { // a wide strip: the count to the right
        const int countWidth = o.panel.width() * 2 / 5;
        o.number = o.panel.adjusted(0, 0, -countWidth, 0);
        o.count = QRect(o.number.right() + 1, o.panel.top(), countWidth, o.panel.height());
    } else {
        const int countHeight = o.panel.height() / 4;
        o.number = o.panel.adjusted(0, 0, 0, -countHeight);
        o.count = QRect(o.panel.left(), o.number.bottom() + 1, o.panel.width(), countHeight);
    }
    o.numberFont = fitted(bold, kWidestNumber, insetBy(o.number, 0.06, 0.08).size());
    const double cellPx = o.cellFont.pixelSize();
    o.score = cellPx * cellPx * o.numberFont.pixelSize();
}

// The board takes no more room than makes its cells about square; the
// number gets the rest.
Arrangement arrange(const QSize &size, int columns, int rows)
{
    const int w = std::max(size.width(), 1), h = std::max(size.height(), 1);
    const int margin = std::max(4, std::min(w, h) / 40);
    Arrangement stacked, beside;
    const int fullWidth = w - 2 * margin, fullHeight = h - 2 * margin;
    const int boardHeight = std::min((fullHeight - margin) * 3 / 5,
                                     static_cast<int>(rows * fullWidth / double(columns) * 0.9));
    stacked.panel = QRect(margin, margin, fullWidth, fullHeight - margin - boardHeight);
    stacked.board = QRect(margin, h - margin - boardHeight, fullWidth, boardHeight);
    const int boardWidth = std::min((fullWidth - margin) * 3 / 5,
                                    static_cast<int>(columns * fullHeight / double(rows) * 1.5));
    beside.panel = QRect(margin, margin, fullWidth - margin - boardWidth, fullHeight);
    beside.board = QRect(w - margin - boardWidth, margin, boardWidth, fullHeight);
    completeArrangement(stacked, columns, rows);
    completeArrangement(beside, columns, rows);
    return beside.score > stacked.score ? beside : stacked;
}

} // namespace

const HallDisplay::Layout &HallDisplay::layout() const
{
    Layout &l = m_layout;
    if (l.size == size() && l.pool == m_shown.pool)
        return l;
    l = Layout();
    l.size = size();
    l.pool = m_shown.pool;
    const int columns = l.pool == 90 ? 10 : 15;
    const int rows = l.pool == 90 ? 9 : 5;
    const Arrangement o = arrange(l.size, columns, rows);
    l.panel = o.panel;
    l.number = o.number;
    l.count = o.count;
    l.numberFont = o.numberFont;
    l.numberInk = QFontMetricsF(l.numberFont).tightBoundingRect(kWidestNumber);
    l.wordFont = fitted(hallFont(true), kBingoWord, insetBy(l.number, 0.06, 0.08).size());
    l.wordInk = QFontMetricsF(l.wordFont).tightBoundingRect(kBingoWord);
    layOutCount(l);
    l.board = o.board;
    layOutBoard(l, o.board, o.cellFont, columns, rows);
    return l;
}

void HallDisplay::layOutCount(Layout &l)
{
    // The count changes at every step; only its slot is painted then.
    l.countFont = fitted(hallFont(false), kWidestCount, insetBy(l.count, 0.04, 0.2).size());
    l.countDigitsFont = l.countFont;
    l.countDigitsFont.setBold(true);
    const QFontMetricsF countMetrics(l.countFont);
    const QString suffix = QStringLiteral(" von %1").arg(l.pool);
    const double slot = QFontMetricsF(l.countDigitsFont).horizontalAdvance(kWidestNumber);
    const double prefix = countMetrics.horizontalAdvance(kCountPrefix);
    const double line = prefix + slot + countMetrics.horizontalAdvance(suffix);
    l.prefixX = l.count.center().x() - line / 2;
    l.suffixX = l.prefixX + prefix + slot;
    l.countBaseline = l.count.center().y() + (countMetrics.ascent() - countMetrics.descent()) / 2;
    l.countSlot = QRectF(l.prefixX + prefix, l.count.top(), slot, l.count.height()).toAlignedRect()
                  & l.count;
}

void HallDisplay::layOutBoard(Layout &l, const QRect &board, const QFont &cellFont, int columns, int rows)
{
    l.litFont = cellFont;
    l.cellFont = cellFont;
    l.cellFont.setBold(false);
    l.latestFont = cellFont;
    l.latestFont.setUnderline(true);
    const double cw = board.width() / double(columns), ch = board.height() / double(rows);
    const int gap = std::max(2, static_cast<int>(std::min(cw, ch) * 0.1));
    l.frame = std::max(3, static_cast<int>(std::min(cw, ch) * 0.1));
    l.drawn = l.panel;
    for (int n = 1; n <= l.pool; ++n) {
        const int row = (n - 1) / columns, column = (n - 1) % columns;
        const int x0 = board.left() + static_cast<int>(std::lround(column * cw));
        const int x1 = board.left() + static_cast<int>(std::lround((column + 1) * cw));
        const int y0 = board.top() + static_cast<int>(std::lround(row * ch));
        const int y1 = board.top() + static_cast<int>(std::lround((row + 1) * ch));
        l.cells[size_t(n)] = QRect(x0 + gap / 2, y0 + gap / 2, x1 - x0 - gap, y1 - y0 - gap);
        l.drawn += l.cells[size_t(n)];
    }
}

// --------------------------------------------------------------- painting

void HallDisplay::paintEvent(QPaintEvent *e)
{
    const Layout &l = layout();
    QPainter p(this);
    // Each point filled once: a step at 3840 x 2160 repaints little.
    const QRegion &dirty = e->region();
    for (const QRect &r : dirty - l.drawn)
        p.fillRect(r, kBackground);
    if (dirty.intersects(l.panel)) {
        for (const QRect &r : dirty & l.panel)
            p.fillRect(r, kPanel);
        if (!m_shown.display.isEmpty() && dirty.intersects(l.number)) {
            const Placed text = placeText(l, m_shown.display, m_shown.word);
            p.setFont(text.font);
            p.setPen(kNumber);
            p.drawText(text.baseline, m_shown.display);
        }
        p.setPen(kCountText);
        if (dirty.intersects(QRegion(l.count) - l.countSlot)) {
            p.setFont(l.countFont);
            p.drawText(QPointF(l.prefixX, l.countBaseline), kCountPrefix);
            p.drawText(QPointF(l.suffixX, l.countBaseline), QStringLiteral(" von %1").arg(l.pool));
        }
        if (m_shown.count > 0 && dirty.intersects(l.countSlot)) {
            const QString digits = QString::number(m_shown.count);
            p.setFont(l.countDigitsFont);
            const double width = QFontMetricsF(l.countDigitsFont).horizontalAdvance(digits);
            p.drawText(QPointF(l.suffixX - width, l.countBaseline), digits);
        }
    }
    if (const NumberedTicket *ticket = m_checked ? m_checked->ticket() : nullptr) {
        if (dirty.intersects(l.board)) {
            p.fillRect(l.board, kBackground);
            TicketPicture(l.board, ticket->layout).paint(p, *ticket, m_shown.lit, hallTicketColours(), hallFont(true));
        }
        return;
    }
    for (int n = 1; n <= l.pool; ++n)
        if (dirty.intersects(l.cells[size_t(n)]))
            paintCell(p, l, n);
}

QRect HallDisplay::ticketCellRect(int block, int row, int column) const
{
    const NumberedTicket *ticket = m_checked ? m_checked->ticket() : nullptr;
    return ticket ? TicketPicture(layout().board, ticket->layout).cell(block, row, column) : QRect();
}

HallDisplay::Placed HallDisplay::placeText(const Layout &l, const QString &text, bool word)
{
    Placed out;
    if (text.isEmpty())
        return out;
    // Numbers sized by the widest, so that 7 and 77 look alike; the letters
    // of "Bingo!" by the whole word, typed where the whole word will stand.
    const bool number = !word;
    out.font = number ? l.numberFont : l.wordFont;
    const QRectF &whole = number ? l.numberInk : l.wordInk;
    const QFontMetricsF metrics(out.font);
    const QRectF ink = metrics.tightBoundingRect(text);
    const QPointF centre = QRectF(l.number).center();
    // Each number centred on its own ink; the baseline stays.
    const double x = centre.x() - (number ? ink : whole).center().x();
    out.baseline = QPointF(x, centre.y() - whole.center().y());
    out.ink = ink.translated(out.baseline).toAlignedRect().adjusted(-2, -2, 2, 2) & l.number;
    return out;
}

void HallDisplay::paintCell(QPainter &p, const Layout &l, int n) const
{
    const QRect &cell = l.cells[size_t(n)];
    const bool lit = m_shown.lit.test(size_t(n));
    if (n == m_shown.latest) {
        p.fillRect(cell, kLatestFrame);
        p.fillRect(cell.adjusted(l.frame, l.frame, -l.frame, -l.frame), kLitCell);
        p.setFont(l.latestFont);
    } else {
        p.fillRect(cell, lit ? kLitCell : kDarkCell);
        p.setFont(lit ? l.litFont : l.cellFont);
    }
    p.setPen(lit ? kLitCellText : kDarkCellText);
    p.drawText(cell, Qt::AlignCenter, QString::number(n));
}

} // namespace kugelfon
