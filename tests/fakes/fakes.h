#pragma once

#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/printers.h"
#include "platform/random.h"
#include "platform/resources.h"
#include "platform/screenlist.h"
#include "platform/screenmetrics.h"
#include "platform/services.h"
#include "platform/soundoutput.h"
#include "platform/sysinfo.h"
#include "platform/timer.h"

#include <QDeadlineTimer>
#include <QMap>
#include <QThread>
#include <functional>
#include <memory>

namespace kugelfon::test {

class FakeTimer;

struct FakeTimerHold {
    int depth = 0;
    QList<FakeTimer *> due;
};

// A timer that ticks only when the test says so.
class FakeTimer final : public ITimer {
public:
    explicit FakeTimer(std::shared_ptr<FakeTimerHold> hold) : m_hold(std::move(hold)) {}
    ~FakeTimer() override { m_hold->due.removeAll(this); }
    void setInterval(int ms) override { m_interval = ms < 0 ? 0 : ms; }
    int interval() const override { return m_interval; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }
    // Fires if the timer would: enabled, an interval above 0 and not held
    // (a held tick comes when the hold ends).
    bool tick();

private:
    int m_interval = 0;
    bool m_enabled = false;
    std::shared_ptr<FakeTimerHold> m_hold;
};

class FakeTimerFactory final : public ITimerFactory {
public:
    std::unique_ptr<ITimer> create(TimerRole role) override
    {
        return std::unique_ptr<ITimer>(m_latest[role] = new FakeTimer(m_hold));
    }
    // The most recently created timer for that role, or nullptr.
    FakeTimer *timer(TimerRole role) const { return m_latest.value(role); }

protected:
    void beginHold() override { ++m_hold->depth; }
    void endHold() override
    {
        if (--m_hold->depth == 0)
            for (FakeTimer *t : std::exchange(m_hold->due, {}))
                t->tick();
    }

private:
    QMap<TimerRole, FakeTimer *> m_latest;
    std::shared_ptr<FakeTimerHold> m_hold = std::make_shared<FakeTimerHold>();
};

struct ShownBox {
    QString text;
    MsgButtons buttons;
    QString title; // as shown: the application title when none was given
};

// Records every box; answers with the responder (default: OK or Yes), which
// is called while the box waits: it may tick timers and click.
class FakeMessageBoxes final : public IMessageBoxes {
public:
    int show(QWidget *parent, const QString &text, MsgButtons buttons, const QString &title = QString()) override;
    void notice(QWidget *, const QString &text) override { notices.append(text); }
    std::function<int(const ShownBox &)> responder;
    QList<ShownBox> shown;
    QList<QString> notices; // boxes that do not wait
    int open = 0; // boxes waiting for an answer right now
};

class FakeScreenMetrics final : public IScreenMetrics {
public:
    FakeScreenMetrics() { set(1280, 1024); }
    void set(int width, int height)
    {
        m.twipsPerPixelX = m.twipsPerPixelY = 15;
        m.twipsWidth = width * 15.0;
        m.twipsHeight = height * 15.0;
        m.geometry = m.available = QRect(0, 0, width, height);
    }
    ScreenMeasure measure() const override { return m; }
    ScreenMeasure m;
};

// Keeps what it was given and calls onPlay as a recording starts, while the
// windows show what it calls; each call fails while failing, else plays.
class FakeSound final : public ISoundOutput {
public:
    void playWave(const QByteArray &image) override
    {
        played.append(image);
        if (onPlay)
            onPlay(image);
        // Held like the real output: the window thread waits, looking up now and then.
        for (const QDeadlineTimer until(blockMs); !until.hasExpired();)
            QThread::msleep(20), waiting();
        if (failing)
            reportFailure(QStringLiteral("Tonausgabe nicht möglich"));
        else
            reportPlayed();
    }
    QList<QByteArray> played;
    bool failing = false;
    int blockMs = 0; // how long a call holds the window thread
    std::function<void(const QByteArray &image)> onPlay;
};

// Deterministic: a fixed-seed generator unless values are queued.
class FakeRandom final : public IRandom {
public:
    explicit FakeRandom(quint64 seed = 1) : m_state(seed) {}
    double next() override;
    void reseedFromClock() override { ++reseeds; }
    QList<double> queued;
    int reseeds = 0;

private:
    quint64 m_state;
};

// Recording n is the bytes "REC<n>"; ids listed in missing give nothing.
class FakeResources final : public IResources {
public:
    QByteArray recording(int id) const override
    {
        return missing.contains(id) ? QByteArray() : "REC" + QByteArray::number(id);
    }
    QByteArray picture(const QString &name) const override; // an 8 x 8 cyan image
    static int idOf(const QByteArray &image) { return image.startsWith("REC") ? image.mid(3).toInt() : -1; }
    QList<int> missing;
};

class FakeApplication final : public IApplication {
public:
    void quit() override { ++quits; }
    bool quitRequested() const override { return quits > 0; }
    int quits = 0;
};

// A machine without printers; tests that print bring FakePrinters.
class NoPrinters final : public IPrinters {
public:
    bool answered() const override { return true; }
    void refresh(std::function<void()>) override {}
    QStringList names() const override { return {}; }
    QString defaultName() const override { return {}; }
    bool exists(const QString &) const override { return false; }
    QString current() const override { return {}; }
    void setCurrent(const QString &) override {}
    QSizeF printableAreaMm(const QString &) const override { return {}; }
    std::unique_ptr<IPrintJob> startJob(const QString &, const QString &) override { return {}; }
};

class FakeSystemInfo final : public ISystemInfoLauncher {
public:
    bool start() override { return true; }
};

class FakeScreenList final : public IScreenList {
public:
    QList<QRect> geometries() const override { return {QRect(0, 0, 1280, 1024)}; }
};

// A whole set of fakes, wired into Services.
struct FakeServices {
    FakeTimerFactory timers;
    FakeMessageBoxes messages;
    FakeScreenMetrics screen;
    FakeSound sound;
    FakeRandom random;
    FakeResources resources;
    FakeApplication app;
    NoPrinters printers;
    FakeSystemInfo sysinfo;
    FakeScreenList screens;

    Services services() { return {timers, messages, screen, sound, random, resources, app, printers, sysinfo, screens}; }
};

} // namespace kugelfon::test
