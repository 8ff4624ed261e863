#pragma once

#include "ui/kit/fixedwindow.h"

class QLabel;
class QSlider;

namespace kugelfon {

// frmZeitManuell: any whole number of seconds from 1 to 60 on a slider.
// Created on opening, discarded on closing; it tells what was chosen by its
// signals and holds no other window.
class IntervalDialog : public FixedWindow {
    Q_OBJECT
public:
    IntervalDialog();

    QSlider *slider() const { return m_slider; }

signals:
    // The slider moved; takes effect at the next automatic step.
    void intervalChanged(float seconds);
    // Closed without taking after the slider moved: what it set is undone.
    void sliderDropped();
    // "Wert übernehmen", also by Esc.
    void intervalTaken(int seconds);
    // The dialog is gone; the main window comes back.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void sliderMoved(int value);
    void take();

    QSlider *m_slider = nullptr;
    QLabel *m_seconds = nullptr;
    bool m_taking = false;
    bool m_moved = false;
};

} // namespace kugelfon
