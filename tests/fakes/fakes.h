#pragma once

#include "platform/services.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>
#include <vector>

namespace kugelfon::test {

// A timer that ticks only when the test says so.
class FakeTimer final : public ITimer {
public:
    explicit FakeTimer(QString name) : m_name(std::move(name)) {}
    void setInterval(int ms) override { m_interval = ms < 0 ? 0 : ms; }
    int interval() const override { return m_interval; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }

    // Fires if the timer would: enabled and an interval above 0.
    bool tick();
    const QString &name() const { return m_name; }

private:
    QString m_name;
    int m_interval = 0;
    bool m_enabled = false;
};

class FakeTimerFactory final : public ITimerFactory {
public:
    std::unique_ptr<ITimer> create(const QString &name) override;
    // The most recently created timer of that name, or nullptr.
    FakeTimer *timer(const QString &name) const;

private:
    std::vector<FakeTimer *> m_timers;
};

struct ShownBox {
    QString text;
    MsgButtons buttons;
    QString title; // as shown: the application title when none was given
};

// Records every box; answers with the responder (default: OK or Yes).
class FakeMessageBoxes final : public IMessageBoxes {
public:
    int show(QWidget *parent, const QString &text, MsgButtons buttons,
             const QString &title = QString()) override;

    // Called while the box "waits": it may tick timers, click, and returns the answer.
    std::function<int(const ShownBox &)> responder;
    QList<ShownBox> shown;
    int open = 0; // boxes waiting for an answer right now
};

class FakeScreenMetrics final : public IScreenMetrics {
public:
    FakeScreenMetrics(int width = 1280, int height = 1024, double twipsPerPixel = 15)
    {
        set(width, height, twipsPerPixel);
    }
    void set(int width, int height, double twipsPerPixel = 15)
    {
        m.twipsPerPixelX = m.twipsPerPixelY = twipsPerPixel;
        m.twipsWidth = width * twipsPerPixel;
        m.twipsHeight = height * twipsPerPixel;
        m.geometry = m.available = QRect(0, 0, width, height);
    }
    ScreenMeasure measure() const override { return m; }
    ScreenMeasure m;
};

class FakeSound final : public ISoundOutput {
public:
    void playWave(const QByteArray &image) override { played.append(image); }
    QList<QByteArray> played;
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
    QByteArray recording(int id) const override;
    QImage picture(const QString &name) const override;
    static int idOf(const QByteArray &image); // -1 when not a fake recording
    QList<int> missing;
    mutable QList<int> requested;
};

class FakeApplication final : public IApplication {
public:
    void quit() override { ++quits; }
    bool quitRequested() const override { return quits > 0; }
    int quits = 0;
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

    Services services()
    {
        Services s;
        s.timers = &timers;
        s.messages = &messages;
        s.screen = &screen;
        s.sound = &sound;
        s.random = &random;
        s.resources = &resources;
        s.app = &app;
        return s;
    }
};

} // namespace kugelfon::test
