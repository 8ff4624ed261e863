#include "ui/kit/fixedwindow.h"

#include "platform/appinfo.h"
#include "ui/kit/fonts.h"
#include "ui/kit/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>

namespace kugelfon {

namespace {

QWidget *makeControl(Control::Kind kind, QWidget *parent)
{
    switch (kind) {
    case Control::Label:
        return new QLabel(parent);
    case Control::Button:
        return new QPushButton(parent);
    case Control::Option:
        return new QRadioButton(parent);
    case Control::Check:
        return new QCheckBox(parent);
    case Control::Frame:
        return new QGroupBox(parent);
    case Control::Field: {
        auto *c = new QComboBox(parent);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr); // it would complete typed text into an entry
        return c;
    }
    case Control::Slider:
        return new QSlider(Qt::Horizontal, parent);
    }
    return nullptr;
}

void setText(QWidget *control, const QString &text)
{
    if (auto *l = qobject_cast<QLabel *>(control))
        l->setText(text);
    else if (auto *b = qobject_cast<QAbstractButton *>(control))
        b->setText(text);
    else if (auto *g = qobject_cast<QGroupBox *>(control))
        g->setTitle(text);
}

void setLook(QWidget *control, int look)
{
    if (auto *l = qobject_cast<QLabel *>(control)) {
        l->setWordWrap(look & Control::Wrap);
        if (look & Control::TopLeft)
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (auto *b = qobject_cast<QPushButton *>(control)) {
        if (look & Control::Default)
            b->setDefault(true);
        if (look & Control::AutoDefault)
            b->setAutoDefault(true);
    }
}

void fitText(QWidget *control)
{
    auto *l = qobject_cast<QLabel *>(control);
    if (l && l->wordWrap())
        l->resize(l->width(), std::max(l->height(), l->heightForWidth(l->width())));
    else
        control->adjustSize();
}

} // namespace

void setUpControl(QWidget *control, const Control &row)
{
    control->setObjectName(QString::fromUtf8(row.name));
    if (row.font.family)
        control->setFont(screenFont(QString::fromUtf8(row.font.family), row.font.points, row.font.bold));
    setText(control, row.text);
    setLook(control, row.look);
    FixedWindow::place(control, row.at);
    if (row.look & Control::Fit)
        fitText(control);
}

void buildControls(QWidget *window, std::span<const Control> rows)
{
    QHash<QString, QWidget *> frames;
    for (const Control &row : rows) {
        QWidget *parent = row.frame ? frames.value(QString::fromUtf8(row.frame), window) : window;
        QWidget *control = makeControl(row.kind, parent);
        setUpControl(control, row);
        if (row.kind == Control::Frame)
            frames.insert(control->objectName(), control);
    }
}

FixedWindow::FixedWindow(const Frame &frame)
    : QWidget(frame.owner, (frame.owner ? Qt::Dialog : Qt::Window) | Qt::MSWindowsFixedSizeDialogHint
                               | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                               | Qt::CustomizeWindowHint)
{
    setObjectName(QString::fromUtf8(frame.objectName));
    if (frame.discardOnClose)
        setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(appinfo::productWithVersion() + frame.captionSuffix);
    setFixedSize(twipsToPx(frame.widthTwips), twipsToPx(frame.heightTwips));
    // The classic dialog font, which the twips were laid out for.
    setFont(screenFont(QStringLiteral("MS Sans Serif"), 8.25));
}

void FixedWindow::place(QWidget *control, const Twips &at)
{
    const QRect r = twipsRect(at.left, at.top, at.width, at.height);
    control->setGeometry(r.x(), r.y(), r.width(), at.height > 0 ? r.height() : control->sizeHint().height());
}

void FixedWindow::setCancelButton(QAbstractButton *button)
{
    onEscape([button] { button->click(); });
}

void FixedWindow::onEscape(std::function<void()> action)
{
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, std::move(action));
}

} // namespace kugelfon
