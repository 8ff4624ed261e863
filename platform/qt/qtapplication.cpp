#include "platform/qt/qtapplication.h"

#include <QApplication>
#include <QWidget>

namespace kugelfon {

void QtApplication::quit()
{
    m_quit = true;
    // Hide, not close: ending the program runs no close handlers.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        w->hide();
    QCoreApplication::exit(0);
}

} // namespace kugelfon
