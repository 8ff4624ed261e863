#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <span>

class QAbstractButton;

namespace kugelfon {

// A rectangle in twips. A height of 0 takes the control's own height.
struct Twips {
    double left, top, width, height;
};

// A screen font as at 96 dpi; without a family the control keeps its parent's.
struct FontSpec {
    const char *family = nullptr;
    double points = 0;
    bool bold = false;
};

// One row of a window's placement table: what the control is, its object
// name, its text (a frame's title), where it lies, its font and its look.
struct Control {
    enum Kind { Label, Button, Option, Check, Frame, Field, Slider };
    enum Look {
        Plain = 0,
        Wrap = 1,        // word wrap
        TopLeft = 2,     // text or picture in the top left corner
        Fit = 4,         // grows to show its whole text: taller when wrapped, else its own size
        Default = 8,     // the button Enter presses
        AutoDefault = 16 // the button Enter presses while it has the focus
    };
    Kind kind;
    const char *name;
    QString text;
    Twips at;
    FontSpec font = {};
    int look = Plain;
    const char *frame = nullptr; // the Frame row it lies in; none for the window
};

// Builds the rows on window in order, which stacks them and is the default
// tab order. Field is an editable combo box that keeps typed text as typed.
void buildControls(QWidget *window, std::span<const Control> rows);
// Gives a control made elsewhere (a class of its own) the row's name, text,
// font, look and place.
void setUpControl(QWidget *control, const Control &row);

// The control a row built, by its object name.
template <class T>
T *control(const QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromUtf8(name));
}

// What the program's secondary windows share: a fixed client area and
// controls placed in twips, a title bar with only a close box, a caption of
// the product and version and its own suffix, the classic dialog font, and
// Esc for the cancel button. With an owner it is a dialog standing over it.
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
    static void place(QWidget *control, const Twips &at);

protected:
    // Esc presses this button, or runs what is given.
    void setCancelButton(QAbstractButton *button);
    void onEscape(std::function<void()> action);
};

} // namespace kugelfon
