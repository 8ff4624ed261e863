#pragma once

#include "fakes/fakes.h"
#include "game/caller.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace kugelfon::test {

inline QPushButton *button(const QWidget &w, const QString &name)
{
    return w.findChild<QPushButton *>(name);
}
inline QLabel *label(const QWidget &w, const QString &name)
{
    return w.findChild<QLabel *>(name);
}
inline QAction *action(const QWidget &w, const QString &name)
{
    return w.findChild<QAction *>(name);
}
inline void click(QWidget &w, const QString &name)
{
    QPushButton *b = button(w, name);
    QVERIFY2(b, qPrintable(name));
    QTest::mouseClick(b, Qt::LeftButton);
}

// A main window on fake services, loaded and shown (when the screen is
// supported). `replace` may swap in other services, such as the real timers.
struct Harness {
    FakeServices f;
    Settings settings;
    std::unique_ptr<CheckSheet> sheetWindow;
    std::unique_ptr<Caller> caller;
    std::unique_ptr<MainWindow> window;
    bool loaded = false;

    explicit Harness(const std::function<void(Services &)> &replace = {},
                     QSize screen = QSize(1280, 1024))
    {
        f.screen.set(screen.width(), screen.height());
        Services s = f.services();
        if (replace)
            replace(s);
        sheetWindow = std::make_unique<CheckSheet>();
        caller = std::make_unique<Caller>(settings, s);
        window = std::make_unique<MainWindow>(settings, *caller, *sheetWindow, s);
        loaded = w().Form_Load();
        if (loaded)
            w().show();
    }
    MainWindow &w() const { return *window; }
    QPushButton *button(const QString &name) const { return test::button(w(), name); }
    QAction *action(const QString &name) const { return test::action(w(), name); }
    QString text(const QString &name) const { return label(w(), name)->text(); }
    QString display() const { return text(QStringLiteral("lblZahlenfeld")); }
    QString caption() const { return button(QStringLiteral("cmdWeiter"))->text(); }
    FakeTimer *autoTimer() const { return f.timers.timer(QStringLiteral("AutoTimer")); }
    FakeTimer *zeitUni() const { return f.timers.timer(QStringLiteral("ZeitUni")); }
    void trigger(const QString &name) { action(name)->trigger(); }
    void click(const QString &name) { test::click(w(), name); }
    void press() { click(QStringLiteral("cmdWeiter")); }
    CheckSheet &sheet() { return *sheetWindow; }
    QList<int> shown() { return sheet().shownNumbers(); }
    int order(int i) const { return caller->order()[static_cast<size_t>(i)]; }
    // The first `count` numbers of the order, sorted.
    QList<int> firstOfOrder(int count) const
    {
        QList<int> out;
        for (int i = 1; i <= count; ++i)
            out.append(order(i));
        std::sort(out.begin(), out.end());
        return out;
    }
    // "pools" when both pool items can be chosen, "no pools" when neither.
    QString pools() const
    {
        const bool on75 = action(QStringLiteral("mnu75Zahlen"))->isEnabled();
        return on75 != action(QStringLiteral("mnu90Zahlen"))->isEnabled() ? "pools differ"
            : on75                                                       ? "pools"
                                                                         : "no pools";
    }
    // Those of the named menu items that carry a check mark.
    QStringList checked(const QStringList &names) const
    {
        QStringList out;
        for (const QString &name : names)
            if (action(name)->isChecked())
                out.append(name);
        return out;
    }
};

} // namespace kugelfon::test
