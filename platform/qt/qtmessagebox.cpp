#include "platform/qt/qtmessagebox.h"

#include "platform/appinfo.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <memory>

namespace kugelfon {

namespace {

// A box the window manager minimises anyway (some offer it on every
// dialog) comes straight back: out of sight it would leave the program
// blocked. A yes/no question is answered by one of its buttons only: Esc and
// the close request would otherwise count as "Nein" and, after "Bingo!",
// throw the game away.
class ProgramBox final : public QMessageBox {
public:
    ProgramBox(QWidget *parent, bool question) : QMessageBox(parent), m_question(question) {}

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange && isMinimized())
            QTimer::singleShot(0, this, [this] {
                setWindowState(windowState() & ~Qt::WindowMinimized);
                raise();
                activateWindow();
            });
        QMessageBox::changeEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (m_question && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (m_question && !clickedButton()) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool m_question;
};

bool besideBoxes(const QWidget *w) { return w && w->property(kInputBesideBoxes).toBool(); }

// The window a box belongs to: the one asked for, else the active one unless
// it takes input beside boxes, else the program's main window. A box of its
// own would let a window manager stack other windows of the program above it.

QWidget *ownerFor(QWidget *parent)
{
    if (parent)
        return parent->window();
    if (QWidget *active = QApplication::activeWindow(); active && !besideBoxes(active))
        return active;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow *>(w) && w->isVisible())
            return w;
    return nullptr;
}

// While the box waits, the windows that take input beside it stand as its
// transients: a modal window blocks every window but those.
class InputBeside final {
public:
    explicit InputBeside(QMessageBox &box) : m_box(&box), m_kept(QApplication::activeWindow())
    {
        if (!besideBoxes(m_kept))
            m_kept = nullptr;
        // The window typed in keeps the keyboard: keys meant for it must not
        // answer the box.
        // A window manager may focus the box all the same, once it shows.
        if (m_kept) {
            box.setAttribute(Qt::WA_ShowWithoutActivating);
            m_focus = QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &box, [this](QWindow *w) {
                if (w && m_box && w == m_box->windowHandle() && m_kept)
                    m_kept->activateWindow();
            });
        }
        for (QWidget *w : QApplication::topLevelWidgets())
            if (besideBoxes(w) && w->isVisible() && w->windowHandle())
                m_windows << w;
        // Once the box has its window, before the user can answer it.
        QTimer::singleShot(0, &box, [this] { besideBox(); });
    }
    ~InputBeside()
    {
        QObject::disconnect(m_focus);
        for (const QPointer<QWidget> &w : std::as_const(m_windows))
            if (w && w->windowHandle() && m_box && w->windowHandle()->transientParent() == m_box->windowHandle())
                w->windowHandle()->setTransientParent(nullptr);
    }

private:
    void besideBox()
    {
        for (const QPointer<QWidget> &w : std::as_const(m_windows))
            if (w && w->windowHandle() && m_box->windowHandle()) {
                w->windowHandle()->setTransientParent(m_box->windowHandle());
                keepInSight(*w);
            }
        if (m_kept)
            m_kept->activateWindow();
    }
    // A transient stands above its box: where it would cover the box, the
    // box moves beside it, to the side with more room.
    void keepInSight(const QWidget &over)
    {
        const QRect box = m_box->frameGeometry(), r = over.frameGeometry();
        if (!r.intersects(box))
            return;
        const QRect area = m_box->screen()->availableGeometry();
        const int x = r.left() - area.left() > area.right() - r.right()
            ? std::max(area.left(), r.left() - box.width())
            : std::min(area.right() + 1 - box.width(), r.right() + 1);
        m_box->move(x, box.top());
    }

    QPointer<QMessageBox> m_box;
    QPointer<QWidget> m_kept;
    QList<QPointer<QWidget>> m_windows;
    QMetaObject::Connection m_focus;
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
    const QPointer<QWidget> owner = ownerFor(parent);
    auto owned = std::make_unique<ProgramBox>(owner, question);
    QMessageBox &box = *owned;
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(title.isEmpty() ? appinfo::title() : title);
    box.setTextFormat(Qt::PlainText);
    box.setText(withLineFeeds(text));
    box.setWindowModality(Qt::ApplicationModal);
    // Nothing to minimise or maximise: a box out of sight would leave the
    // program blocked. Without the close button among the hints Qt would
    // tell the window manager nothing and it would offer all of them; a
    // question ignores its close button.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                       | Qt::WindowCloseButtonHint);

    QPushButton *yes = nullptr;
    if (question) {
        yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
    } else {
        QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    const QPointer<QMessageBox> alive(&box);
    const InputBeside beside(box);
    box.exec(); // a nested event loop: timers keep ticking meanwhile
    if (!alive) { // its window went and took it along
        static_cast<void>(owned.release());
        return question ? kAnswerNo : kAnswerOk;
    }
    const int answer = !question ? kAnswerOk : box.clickedButton() == yes ? kAnswerYes : kAnswerNo;
    // The window manager may hand the focus to no window, or to another.
    if (owner && owner->isVisible())
        owner->activateWindow();
    return answer;
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
