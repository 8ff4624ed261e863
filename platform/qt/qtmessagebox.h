#pragma once

#include "platform/messagebox.h"

namespace kugelfon {

class QtMessageBoxes final : public IMessageBoxes {
public:
    int show(QWidget *parent, const QString &text, MsgButtons buttons,
             const QString &title = QString()) override;
    void notice(QWidget *parent, const QString &text) override;
};

} // namespace kugelfon
