#pragma once

// Small helpers every window test needs: finding a widget by its object name,
// clicking it, and the product's name with CMake's version.

#include "kugelfon_version.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QString>
#include <QTest>

namespace kugelfon::test {

// "Kugelfon 1.1", written from the project's version, not from the program.
inline QString productWithVersion() { return QStringLiteral("Kugelfon ") + QLatin1String(version::kText); }

template <typename T = QWidget>
T *child(const QObject &parent, const QString &name)
{
    return parent.findChild<T *>(name);
}

inline void click(const QObject &parent, const QString &button)
{
    QTest::mouseClick(child<QAbstractButton>(parent, button), Qt::LeftButton);
}

// Runs the deleteLater()s queued so far, as the event loop would.
inline void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace kugelfon::test
