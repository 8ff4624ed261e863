#include "ui/sheet/checksheet.h"

#include "ui/kit/fonts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace kugelfon {

namespace {

// A button painted flat in its colour, so the colour shows exactly as set
// (styles shade button backgrounds).
class NumberButton : public QPushButton {
public:
    explicit NumberButton(QWidget *parent) : QPushButton(parent) {}
    void setColour(const QColor &colour)
    {
        m_colour = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, m_colour);
        p.setPen(QColor(64, 64, 64));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.setFont(font());
        p.drawText(r, Qt::AlignCenter, text());
    }

private:
    QColor m_colour = kNotShown;
};

const Control kControls[] = {
    {Control::Label, "lblHinweis",
     QStringLiteral("In diesem Fenster kann Kontrolliert werden, welche Zahlen schon gezeigt wurden und "
                    "welche noch nicht."),
     {120, 120, 3675, 615}, {}, Control::Wrap | Control::TopLeft},
    {Control::Label, "lblNicht", QStringLiteral("= nicht gezeigt"), {600, 960, 2295, 195}},
    {Control::Label, "lblGezeigt", QStringLiteral("= gezeigt"), {600, 1380, 2295, 195}},
};

// Where button i lies: 0 and 91 are the legend's swatches, 1..90 ten a row.
Twips numberPlace(int i)
{
    if (i == 0 || i == 91)
        return {120, i == 0 ? 900.0 : 1320.0, 375, 315};
    const int column = (i - 1) % 10;
    const int row = (i - 1) / 10;
    return {120.0 + 360 * column, 1920.0 + 300 * row, 375, 315};
}

} // namespace

// It lives for the whole run: closing only hides it.
CheckSheet::CheckSheet(const Caller &caller)
    : FixedWindow({"frmKontrolle", 3885, 5295, QStringLiteral(" - Kontrollblatt"), false}),
      m_caller(caller)
{
    buildControls(this, kControls);
    addNumberButtons();
    auto *back = new QPushButton(this);
    setUpControl(back, {Control::Button, "cmdZurück", QStringLiteral("Zurück zum Spiel"),
                        {2100, 4800, 1635, 375}, {}, Control::Default | Control::AutoDefault});
    connect(back, &QPushButton::clicked, this, [this] {
        emit backToGame();
        hide();
    });
    followGame();
}

void CheckSheet::followGame()
{
    const Caller &c = m_caller;
    connect(&c, &Caller::marksChanged, this, [this, &c] { showMarks(c.view().marked); });
    connect(&c, &Caller::settingsChanged, this, [this, &c] { showPool(c.view().settings.pool); });
    // A new pool: an open sheet comes to the front laid out anew.
    connect(&c, &Caller::poolChosen, this, [this] {
        if (isVisible())
            bringUp();
    });
    connect(&c, &Caller::checkSheetWanted, this, [this] {
        show();
        raise();
    });
    showPool(c.view().settings.pool);
    showMarks(c.view().marked);
}

void CheckSheet::addNumberButtons()
{
    const QFont numberFont = screenFont(QStringLiteral("Times New Roman"), 8.25);
    for (int i = 0; i <= 91; ++i) {
        auto *b = new NumberButton(this);
        b->setObjectName(QStringLiteral("cmdZahl_%1").arg(i));
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(numberFont);
        place(b, numberPlace(i));
        m_numberButtons[i] = b;
        const bool swatch = i == 0 || i == 91;
        b->setEnabled(!swatch);
        if (!swatch)
            b->setText(QString::number(i));
        setNumberColour(i, i == 91 ? kShown : kNotShown);
    }
}

QPushButton *CheckSheet::cmdZahl(int index) const
{
    if (index < 0 || index > 91)
        return nullptr;
    return m_numberButtons[index];
}

void CheckSheet::setNumberColour(int index, const QColor &colour)
{
    if (index < 0 || index > 91)
        return;
    if (m_colour[index] == colour)
        return;
    m_colour[index] = colour;
    static_cast<NumberButton *>(m_numberButtons[index])->setColour(colour);
}

QColor CheckSheet::numberColour(int index) const
{
    if (index < 0 || index > 91)
        return {};
    return m_colour[index];
}

QList<int> CheckSheet::shownNumbers() const
{
    QList<int> out;
    for (int n = 1; n <= 90; ++n)
        if (m_colour[n] == kShown)
            out.append(n);
    return out;
}

void CheckSheet::showMarks(const std::bitset<91> &marked)
{
    for (int n = 1; n <= 90; ++n)
        setNumberColour(n, marked.test(static_cast<size_t>(n)) ? kShown : kNotShown);
}

void CheckSheet::showPool(Pool pool)
{
    for (int n = 1; n <= 90; ++n)
        m_numberButtons[n]->setVisible(n <= poolSize(pool));
}

void CheckSheet::bringUp()
{
    // Hidden and shown again, so that a sheet already open comes to the front.
    hide();
    show();
    showPool(m_caller.view().settings.pool);
    hide();
    show();
    raise();
    activateWindow();
}

void CheckSheet::closeEvent(QCloseEvent *event)
{
    // The sheet lives for the whole run; its close box only hides it.
    event->ignore();
    hide();
}

} // namespace kugelfon
