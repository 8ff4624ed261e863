#pragma once

#include "game/caller.h"
#include "platform/screenlist.h"
#include "ui/hall/hallplacement.h"
#include "ui/kit/ticketpicture.h"

#include <QFont>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWindow>
#include <QWidget>
#include <array>
#include <bitset>

namespace kugelfon {

// The hall display for the players, on a second screen: the number being
// called, how many have been shown, and the board of the pool with every
// number of this game lit and the latest one framed. It shows only what the
// caller publishes, accepts no input and never takes the focus. Full-screen
// on a screen apart from the organiser's; otherwise a window that leaves the
// organiser's window uncovered (see placeHall).
class HallDisplay final : public QWidget {
    Q_OBJECT
public:
    // A checked ticket, while there is one, stands in place of the board.
    HallDisplay(const Caller &caller, IScreenList &screens, QWidget &organiser,
                const ShownTicket *checked = nullptr);
    ~HallDisplay() override;

    // What is drawn where, in the window's coordinates.
    QRect numberRect() const;
    QRect cellRect(int number) const; // empty outside the pool
    // Where a cell of the checked ticket is drawn; empty without one.
    QRect ticketCellRect(int block, int row, int column) const;
    QString numberText() const { return m_shown.display; }
    QString countText() const;
    // Screens or the organiser's window changed and it has yet to move.
    bool settling() const { return m_settle.isActive(); }

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    struct Shown {
        QString display;
        bool word = false; // the letters of a claim, not a number
        int count = 0;
        int pool = 75;
        int latest = 0; // framed on the board; 0 for none
        std::bitset<kMaxPool + 1> lit;
    };
    // Everything measured from the window's size, kept until it changes.
    struct Layout {
        QSize size;
        int pool = 0;
        QRect panel, number, count, board;
        std::array<QRect, kMaxPool + 1> cells{};
        int frame = 0;
        QFont numberFont, wordFont, countFont, countDigitsFont, cellFont, litFont, latestFont;
        // "gezeigte Zahlen: ", the count in a slot of its own, " von 75"
        double countBaseline = 0, prefixX = 0, suffixX = 0;
        QRect countSlot;
        QRectF numberInk, wordInk; // of "88" and "Bingo!" at their sizes
        QRegion drawn;             // the panel and the cells; the rest is background
    };
    // The number or letters as drawn in the number area.
    struct Placed {
        QFont font;
        QPointF baseline;
        QRect ink; // where it leaves marks
    };

    void showState();
    HallPlacement target() const;
    void changing();
    void giveWay();
    bool overlapsOrganiser() const;
    QRect organiserFrame() const;
    void watchOrganiser();
    void place();
    const Layout &layout() const;
    static void layOutCount(Layout &l);
    static void layOutBoard(Layout &l, const QRect &board, const QFont &cellFont, int columns, int rows);
    static Placed placeText(const Layout &l, const QString &text, bool word);
    void paintCell(QPainter &p, const Layout &l, int n) const;

    const Caller &m_caller;
    const ShownTicket *m_checked;
    IScreenList &m_screens;
    QWidget &m_organiser;
    Shown m_shown;
    bool m_fullScreen = false;
    bool m_closed = false; // by its close button, for the rest of the evening
    HallPlacement m_placed; // where place() last put it
    QTimer m_settle;        // screens and the organiser's window at rest
    QTimer m_watch;         // where the organiser's window is
    QRect m_organiserSeen;
    QPointer<QWindow> m_lastActive; // the window that had the focus before
    mutable Layout m_layout;
};

} // namespace kugelfon
