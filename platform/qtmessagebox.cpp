#include "platform/qtmessagebox.h"

#include "platform/appinfo.h"

#include <QMessageBox>
#include <QPushButton>

namespace kugelfon {

int QtMessageBoxes::show(QWidget *parent, const QString &text, MsgButtons buttons,
                         const QString &title)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(title.isEmpty() ? appinfo::title() : title);
    box.setTextFormat(Qt::PlainText);
    // Lines are joined by carriage returns; Qt breaks lines on line feeds.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    box.setWindowModality(Qt::ApplicationModal);

    if (buttons == MsgButtons::YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec(); // a nested event loop: timers keep ticking meanwhile
        return box.clickedButton() == yes ? kAnswerYes : kAnswerNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return kAnswerOk;
}

} // namespace kugelfon
