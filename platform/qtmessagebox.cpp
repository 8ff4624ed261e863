#include "platform/qtmessagebox.h"

#include "platform/appinfo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace kugelfon {

namespace {

// A yes/no question is answered by one of its buttons only: Esc and the
// close request would otherwise count as "Nein" and, after "Bingo!", throw
// the game away.
class QuestionBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (!clickedButton()) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

} // namespace

namespace {

// Lines are joined by carriage returns; Qt breaks lines on line feeds.
QString withLineFeeds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

int QtMessageBoxes::show(QWidget *parent, const QString &text, MsgButtons buttons,
                         const QString &title)
{
    const bool question = buttons == MsgButtons::YesNo;
    std::unique_ptr<QMessageBox> owned = question ? std::make_unique<QuestionBox>(parent)
                                                  : std::make_unique<QMessageBox>(parent);
    QMessageBox &box = *owned;
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(title.isEmpty() ? appinfo::title() : title);
    box.setTextFormat(Qt::PlainText);
    box.setText(withLineFeeds(text));
    box.setWindowModality(Qt::ApplicationModal);

    if (question) {
        // No close button on a question.
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec(); // a nested event loop: timers keep ticking meanwhile
        return box.clickedButton() == yes ? kAnswerYes : kAnswerNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return kAnswerOk;
}

void QtMessageBoxes::notice(QWidget *parent, const QString &text)
{
    auto *box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::NoIcon);
    box->setWindowTitle(appinfo::title());
    box->setTextFormat(Qt::PlainText);
    box->setText(withLineFeeds(text));
    box->setStandardButtons(QMessageBox::NoButton);
    QPushButton *ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

} // namespace kugelfon
