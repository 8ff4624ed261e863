#include "ui/kit/fixedwindow.h"

#include "platform/appinfo.h"
#include "ui/kit/fonts.h"
#include "ui/kit/twips.h"

#include <QAbstractButton>
#include <QShortcut>

namespace kugelfon {

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

void FixedWindow::place(QWidget *control, double left, double top, double width, double height)
{
    control->setGeometry(twipsRect(left, top, width, height));
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
