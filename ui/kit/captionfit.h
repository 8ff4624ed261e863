#pragma once

#include <QList>
#include <QStringList>

class QLabel;
class QPushButton;

namespace kugelfon {

// A control with every text it can come to show.
template <typename W>
struct Captions {
    W *control;
    QStringList texts;
};

// A row of labels, left to right: every text whole in its label, with a
// blank's width before the next label. Where that does not hold, the whole
// row's type is made a pixel smaller until it does; the labels stay where
// they are.
void fitLabelRow(const QList<Captions<QLabel>> &row);

// Every caption whole inside the button's frame as its style draws it. A
// button too low for its line grows downwards, by half its height at most;
// where that is not enough, or a caption is too wide, the buttons' type is
// made a pixel smaller until it fits.
void fitButtons(const QList<Captions<QPushButton>> &buttons);

} // namespace kugelfon
