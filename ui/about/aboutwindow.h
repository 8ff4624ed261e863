#pragma once

#include "ui/kit/fixedwindow.h"
#include "platform/services.h"

class QPushButton;

namespace kugelfon {

// frmAbout: title, version, what the program does, a warning and the maker's
// web address; it can start the system information program. Created when
// opened, destroyed when closed. The owner, if any, is the window it stands
// over; it stays a window of its own.
class AboutWindow : public FixedWindow {
    Q_OBJECT
public:
    explicit AboutWindow(const Services &services, QWidget *owner = nullptr);

    // Starts the system information program or says that there is none.
    void startSystemInfo();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showProductPicture();
    void pressDefault();

    Services m_services;
    bool m_centred = false;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_sysInfoButton = nullptr;
};

} // namespace kugelfon
