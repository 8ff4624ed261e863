#pragma once

#include "ui/kit/fixedwindow.h"
#include "platform/services.h"

class QLabel;
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

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system information program or says that there is none.
    void StartSysInfo();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void setupControls();
    void pressDefault();

    Services m_services;
    bool m_centred = false;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_versionLabel = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_sysInfoButton = nullptr;
};

} // namespace kugelfon
