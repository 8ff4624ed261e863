#pragma once

#include "game/caller.h"
#include "ui/kit/fixedwindow.h"
#include "ui/kit/marks.h"

#include <QColor>
#include <array>
#include <bitset>

class QPushButton;

namespace kugelfon {

// frmKontrolle: one button per number, red until the game marks the number
// as shown. It keeps no game data of its own: hidden or not, it follows the
// caller's pool and marks, so that a claim brings it up as it stands.
class CheckSheet : public FixedWindow {
    Q_OBJECT
public:
    explicit CheckSheet(const Caller &caller);

    // Index 0 and 91 are the legend swatches, 1..90 the numbers.
    QPushButton *cmdZahl(int index) const;
    void setNumberColour(int index, const QColor &colour);
    QColor numberColour(int index) const;

    // Numbers currently marked as shown, ascending.
    QList<int> shownNumbers() const;

    // Number n green when marked, red otherwise.
    void showMarks(const std::bitset<91> &marked);
    // The buttons of the pool, and only those, shown or hidden alike.
    void showPool(Pool pool);
    // Shown in front, as the game stands.
    void bringUp();

signals:
    // "Zurück zum Spiel": the main window comes back.
    void backToGame();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void addNumberButtons();
    void followGame();

    const Caller &m_caller;
    std::array<QPushButton *, 92> m_numberButtons{};
    std::array<QColor, 92> m_colour{};
};

} // namespace kugelfon
