#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;

namespace kugelfon {

class MainWindow;

// frmZeitManuell: any whole number of seconds from 1 to 60 on a slider.
// Created on opening, discarded on closing.
class IntervalDialog : public QWidget {
    Q_OBJECT
public:
    IntervalDialog(MainWindow &main, double twipsPerPixelX = 15, double twipsPerPixelY = 15);

    void sldZeitinterval_Change();
    void cmdZurueck_Click();

    QSlider *slider() const { return m_slider; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupControls(double tppX, double tppY);
    void setupConnections();

    MainWindow &m_main;
    QSlider *m_slider = nullptr;
    QLabel *m_seconds = nullptr;
    QPushButton *m_take = nullptr;
    bool m_taking = false;
    float m_intervalAtOpen = 0;
};

} // namespace kugelfon
