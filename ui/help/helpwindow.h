#pragma once

#include "ui/kit/fixedwindow.h"
#include "platform/services.h"

#include <functional>

class QComboBox;
class QLabel;

namespace kugelfon {

// frmHilfe: an introduction, a list of topics and a picture per topic. All
// help content lies in the pictures. Created when opened, discarded on close.
class HelpWindow : public FixedWindow {
    Q_OBJECT
public:
    struct Topic {
        QString text;
        int picture; // resource identifier, "help-<picture>"
    };
    // The topics in list order, after the placeholder entry.
    static const QList<Topic> &topics();
    static QString placeholder();

    HelpWindow(const Services &services, std::function<void()> showMainWindow);

    // Shows the picture of the topic in the list's text, if it names one.
    void showChosenTopic();

    // The identifier of the picture on view.
    int shownPicture() const { return m_shown; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillTopics();
    void showPicture(int id);

    Services m_services;
    std::function<void()> m_showMain;
    QComboBox *m_topicBox = nullptr;
    QLabel *m_image = nullptr;
    int m_shown = 0;
};

} // namespace kugelfon
