#pragma once

#include "game/caller.h"
#include "tickets/checknumber.h"
#include "ui/kit/fixedwindow.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kugelfon {

class ShownTicket;

// "Spielschein prüfen": the organiser types the check number printed on a
// claimed ticket and sees the ticket with the numbers of this game marked,
// and per block which rows are full. It follows the caller like the check
// sheet, stays open through the evening and takes input while a question
// waits; a ticket checked goes on the hall display until the next number.
class CheckWindow : public FixedWindow {
    Q_OBJECT
public:
    CheckWindow(const Caller &caller, ShownTicket &hall);
    ~CheckWindow() override;

    const std::optional<NumberedTicket> &ticket() const { return m_ticket; }
    // What the ticket's view shows, in the view's coordinates.
    QRect cellRect(int block, int row, int column) const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void check();
    void showGame();
    void readyForClaim();

    const Caller &m_caller;
    ShownTicket &m_hall;
    std::optional<NumberedTicket> m_ticket;
    bool m_claimAwaited = false; // its question is yet to show
    QLineEdit *m_field = nullptr;
    QLabel *m_error = nullptr;
    QLabel *m_about = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_pool = nullptr;
    QWidget *m_view = nullptr;
    QPlainTextEdit *m_verdict = nullptr;
};

// The line for a number that gives no ticket; empty for None.
QString checkNumberErrorText(CheckNumberError error, int digits);

} // namespace kugelfon
