#include "bench/hallbench.h"

#include "game/caller.h"
#include "platform/qt/realservices.h"
#include "ui/hall/halldisplay.h"
#include "ui/main/mainwindow.h"
#include "ui/sheet/checksheet.h"
#include "platform/soundoutput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace kugelfon {

namespace {

class NoSound final : public ISoundOutput {
public:
    void playWave(const QByteArray &) override {}
};

// One screen: the display opens as a window, sized here at will.
class OneScreen final : public IScreenList {
public:
    QList<QRect> geometries() const override
    {
        return {QGuiApplication::primaryScreen()->geometry()};
    }
};

// The moment a widget has finished a paint: the filter lets it paint inside
// and takes the time after.
class PaintClock final : public QObject {
public:
    explicit PaintClock(const QElapsedTimer &clock) : m_clock(clock) {}
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() != QEvent::Paint || m_inside)
            return false;
        m_inside = true;
        QCoreApplication::sendEvent(o, e);
        m_inside = false;
        if (m_paintedAt < 0)
            m_paintedAt = m_clock.nsecsElapsed();
        return true;
    }
    void reset() { m_paintedAt = -1; }
    qint64 paintedAt() const { return m_paintedAt; }

private:
    const QElapsedTimer &m_clock;
    bool m_inside = false;
    qint64 m_paintedAt = -1;
};

struct Figures {
    double median = 0, max = 0;
};

Figures figures(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? Figures{} : Figures{v[v.size() / 2], v.back()};
}

// Paint clocks of the main window's number and of the hall display.
struct PaintClocks {
    PaintClock *main, *hall;
};

// 70 steps of one game; the times of the main window's and the display's paint.
void timeSteps(Caller &caller, QPushButton *button, const QElapsedTimer &clock, PaintClocks painted,
               HallDisplay *hall, std::vector<double> &mainMs, std::vector<double> &hallMs)
{
    caller.newGame();
    for (int i = 0; i < 70; ++i) {
        QCoreApplication::processEvents();
        painted.main->reset();
        painted.hall->reset();
        const qint64 t0 = clock.nsecsElapsed();
        QTest::mouseClick(button, Qt::LeftButton);
        while ((painted.main->paintedAt() < 0 || (hall && painted.hall->paintedAt() < 0))
               && clock.nsecsElapsed() - t0 < 1000000000LL)
            QCoreApplication::processEvents();
        mainMs.push_back((painted.main->paintedAt() - t0) / 1e6);
        if (hall)
            hallMs.push_back((painted.hall->paintedAt() - t0) / 1e6);
    }
}

} // namespace

void benchHall()
{
    RealServices real;
    NoSound sound;
    OneScreen screens;
    Services s = real.services();
    s.sound = sound;
    CheckSheet sheet;
    Caller caller(s);
    MainWindow w(caller, sheet, s);
    if (!w.startUp()) {
        std::printf("hall: screen size not supported here\n");
        return;
    }
    w.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    w.showMaximized();
    (void)QTest::qWaitForWindowExposed(&w);
    auto *button = w.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    QElapsedTimer clock;
    clock.start();
    PaintClock mainPainted(clock), hallPainted(clock);
    w.findChild<QLabel *>(QStringLiteral("lblZahlenfeld"))->installEventFilter(&mainPainted);

    auto run = [&](HallDisplay *hall, std::vector<double> &mainMs, std::vector<double> &hallMs) {
        timeSteps(caller, button, clock, {&mainPainted, &hallPainted}, hall, mainMs, hallMs);
    };

    std::printf("\"Weiter\" click to painted, hall display (goal: within 16 ms, and the main\n"
                "window no slower than without the display), 70 steps each, median / max:\n");
    std::vector<double> alone, unused;
    run(nullptr, alone, unused);
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)}) {
        auto hall = std::make_unique<HallDisplay>(caller, screens, w);
        // Placed once the main window has settled; then sized here.
        (void)QTest::qWaitFor([&] { return !hall->settling(); }, 2000);
        hall->resize(size);
        (void)QTest::qWaitForWindowExposed(hall.get());
        hall->installEventFilter(&hallPainted);
        std::vector<double> mainMs, hallMs;
        run(hall.get(), mainMs, hallMs);
        const Figures m = figures(mainMs), h = figures(hallMs);
        std::printf("  display %4d x %4d   display %.2f / %.2f ms   main window %.2f / %.2f ms\n",
                    size.width(), size.height(), h.median, h.max, m.median, m.max);
    }
    // Once more without, to see the drift of the run.
    std::vector<double> after;
    run(nullptr, after, unused);
    const Figures a = figures(alone), b = figures(after);
    std::printf("  without display       main window %.2f / %.2f ms (before), %.2f / %.2f ms (after)\n",
                a.median, a.max, b.median, b.max);
}

} // namespace kugelfon
