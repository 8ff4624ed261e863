#pragma once

#include <QString>

class QWidget;

namespace kugelfon {

enum class MsgButtons { Ok, YesNo };

inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// A window whose property of this name is true takes input while a box
// waits, which blocks every other window; it owns no box, and keeps the
// keyboard if it had it.
inline constexpr char kInputBesideBoxes[] = "inputBesideBoxes";

// Modal message box without icon. Lines of the text are separated by carriage
// returns. An empty title shows the application title. Returns 1, 6 or 7.
// Timers keep ticking while the box waits for its answer.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    virtual int show(QWidget *parent, const QString &text, MsgButtons buttons,
                     const QString &title = QString()) = 0;
    // A box with OK that does not wait: the caller goes on, timers and all,
    // while it stands. Titled with the application title.
    virtual void notice(QWidget *parent, const QString &text) = 0;
};

} // namespace kugelfon
