#pragma once

#include <QWidget>
#include <functional>

class QAbstractButton;

namespace kugelfon {

// What the program's secondary windows share: a fixed client area and
// controls placed in twips, a title bar with only a close box, a caption
// "Kugelfon <version>" and its own suffix, the classic dialog font, and Esc for
// the cancel button. With an owner it is a dialog standing over it.
class FixedWindow : public QWidget {
    Q_OBJECT
public:
    struct Frame {
        const char *objectName;
        double widthTwips;
        double heightTwips;
        QString captionSuffix;
        bool discardOnClose = true;
        QWidget *owner = nullptr;
    };
    explicit FixedWindow(const Frame &frame);

    // A control at left, top, width and height in twips.
    static void place(QWidget *control, double left, double top, double width, double height);

protected:
    // Esc presses this button, or runs what is given.
    void setCancelButton(QAbstractButton *button);
    void onEscape(std::function<void()> action);
};

} // namespace kugelfon
