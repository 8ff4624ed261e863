#include "ui/kit/captionfit.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace kugelfon {

namespace {

QFont withPixelSize(QFont font, int px)
{
    font.setPixelSize(px);
    return font;
}

int pixelSize(const QWidget *w)
{
    return w->font().pixelSize() > 0 ? w->font().pixelSize() : QFontInfo(w->font()).pixelSize();
}

// How wide `text` is drawn: its advance, or more where a glyph's ink runs over it.
int textWidth(const QFontMetrics &fm, const QString &text)
{
    return std::max(fm.horizontalAdvance(text), fm.tightBoundingRect(text).right() + 1);
}

// How high a centred line of `text` must be to stand whole: its line box,
// or more where the ink reaches beyond ascent or descent.
int lineHeight(const QFontMetrics &fm, const QString &text)
{
    const QRect ink = fm.tightBoundingRect(text); // y from the baseline
    const int above = std::max(0, -fm.ascent() - ink.top());
    const int below = std::max(0, ink.bottom() + 1 - fm.descent());
    return fm.height() + 2 * std::max(above, below);
}

struct Need {
    int width = 0;
    int height = 0;
};

Need needed(const QFontMetrics &fm, const QStringList &texts)
{
    Need n;
    for (const QString &text : texts) {
        n.width = std::max(n.width, textWidth(fm, text));
        n.height = std::max(n.height, lineHeight(fm, text));
    }
    return n;
}

} // namespace

void fitLabelRow(const QList<Captions<QLabel>> &row)
{
    if (row.isEmpty())
        return;
    const auto fits = [&row](int px) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            const QLabel *label = row[i].control;
            const QFontMetrics fm(withPixelSize(label->font(), px), label);
            const QRect inner = label->contentsRect().translated(label->pos());
            int end = inner.right() + 1;
            if (i + 1 < row.size())
                end = std::min(end, row[i + 1].control->x() - fm.horizontalAdvance(QLatin1Char(' ')));
            const Need need = needed(fm, row[i].texts);
            if (inner.left() + need.width > end || need.height > inner.height())
                return false;
        }
        return true;
    };
    int px = pixelSize(row.first().control);
    while (px > 1 && !fits(px))
        --px;
    for (const auto &[label, texts] : row)
        label->setFont(withPixelSize(label->font(), px));
}

void fitButtons(const QList<Captions<QPushButton>> &buttons)
{
    if (buttons.isEmpty())
        return;
    // The heights the buttons need at `px`, or none where they cannot have them.
    const auto heights = [&buttons](int px) {
        QList<int> out;
        for (const auto &[button, texts] : buttons) {
            const QFontMetrics fm(withPixelSize(button->font(), px), button);
            QStyleOptionButton option;
            option.initFrom(button);
            option.fontMetrics = fm;
            if (button->autoDefault())
                option.features |= QStyleOptionButton::AutoDefaultButton;
            if (button->isDefault())
                option.features |= QStyleOptionButton::DefaultButton;
            // The style draws the caption centred in its contents and cuts it there.
            const QRect inner =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const Need need = needed(fm, texts);
            const int height = std::max(button->height(), button->height() - inner.height() + need.height);
            if (need.width > inner.width() || height > button->height() * 3 / 2)
                return QList<int>();
            out << height;
        }
        return out;
    };
    int px = pixelSize(buttons.first().control);
    QList<int> fitted;
    while ((fitted = heights(px)).isEmpty() && px > 1)
        --px;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QPushButton *button = buttons[i].control;
        button->setFont(withPixelSize(button->font(), px));
        if (i < fitted.size())
            button->resize(button->width(), fitted[i]);
    }
}

} // namespace kugelfon
