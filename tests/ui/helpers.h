#pragma once

#include "fakes/fakes.h"
#include "game/sharedstore.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace kugelfon::test {

inline QPushButton *button(QWidget &w, const char *name)
{
    return w.findChild<QPushButton *>(QString::fromUtf8(name));
}
inline QLabel *label(QWidget &w, const char *name)
{
    return w.findChild<QLabel *>(QString::fromUtf8(name));
}
inline QAction *action(QWidget &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromUtf8(name));
}
inline void click(QWidget &w, const char *name)
{
    QPushButton *b = button(w, name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
}

// The drawn numbers of the current game, Zahlenfolge[1..MerkerZahl], sorted.
inline QList<int> drawnSoFar(const MainWindow &w)
{
    QList<int> out;
    for (int i = 1; i <= w.game().MerkerZahl; ++i)
        out.append(w.game().Zahlenfolge[i]);
    std::sort(out.begin(), out.end());
    return out;
}

// A main window on fake services, loaded and shown, with a fresh store.
struct Harness {
    FakeServices fakes;
    std::unique_ptr<MainWindow> window;

    explicit Harness(int width = 1280, int height = 1024)
    {
        destroyIntern();
        fakes.screen.set(width, height);
        window = std::make_unique<MainWindow>(fakes.services());
        loaded = window->Form_Load();
        if (loaded)
            window->show();
    }
    ~Harness()
    {
        window.reset();
        destroyIntern();
    }
    MainWindow &w() { return *window; }
    CheckSheet &sheet() { return window->frmKontrolle(); }
    // Ids of the recordings played so far.
    QList<int> playedIds() const
    {
        QList<int> ids;
        for (const QByteArray &b : fakes.sound.played)
            ids.append(FakeResources::idOf(b));
        return ids;
    }
    bool loaded = false;
};

} // namespace kugelfon::test
