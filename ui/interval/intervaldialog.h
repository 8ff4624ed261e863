#pragma once

#include "platform/fixedwindow.h"

class QLabel;
class QPushButton;
class QSlider;

namespace kugelfon {

// frmZeitManuell: any whole number of seconds from 1 to 60 on a slider.
// Created on opening, discarded on closing; it tells what was chosen by its
// signals and holds no other window.
class IntervalDialog : public FixedWindow {
    Q_OBJECT
public:
    // intervalInForce: put back when the dialog is closed without taking.
    explicit IntervalDialog(float intervalInForce);

    QSlider *slider() const { return m_slider; }

signals:
    // The slider moved (takes effect at the next automatic step), or the
    // dialog was closed without taking and the earlier interval comes back.
    void intervalChanged(float seconds);
    // "Wert übernehmen", also by Esc.
    void intervalTaken(int seconds);
    // The dialog is gone; the main window comes back.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupControls();
    void setupConnections();
    void sliderMoved(int value);
    void take();

    float m_intervalInForce;
    QSlider *m_slider = nullptr;
    QLabel *m_seconds = nullptr;
    QPushButton *m_take = nullptr;
    bool m_taking = false;
};

} // namespace kugelfon
