#pragma once

#include "platform/printers.h"

#include <QFont>
#include <QList>
#include <QMap>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>

namespace kugelfon::test {

struct RecordedText {
    QPointF baseline; // device pixels
    QString text;
    QFont font;
};

// Keeps the rectangles and texts painted on it, in device pixels.
class RecordingEngine final : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice *) override;
    bool end() override;
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawRects(const QRectF *rects, int count) override;
    void drawRects(const QRect *rects, int count) override;
    void drawTextItem(const QPointF &p, const QTextItem &item) override;
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override { ++others; }
    void drawPath(const QPainterPath &) override { ++others; }
    Type type() const override { return QPaintEngine::User; }

    QList<QRectF> rects;
    QList<RecordedText> texts;
    int others = 0;   // any other drawing (there should be none)
    int sessions = 0; // begin() calls
    bool refuseBegin = false;
};

// A page of the given printable size in millimetres at the given resolution.
class RecordingDevice final : public QPaintDevice {
public:
    explicit RecordingDevice(QSizeF printableMm = QSizeF(200, 287), int dpi = 600)
        : m_mm(printableMm), m_dpi(dpi) {}
    QPaintEngine *paintEngine() const override { return &m_engine; }
    RecordingEngine &engine() const { return m_engine; }
    double pxPerMm() const { return m_dpi / 25.4; }

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    QSizeF m_mm;
    int m_dpi;
    mutable RecordingEngine m_engine;
};

struct FakeJob {
    QString printer;
    QString docName;
    std::shared_ptr<RecordingDevice> page;
    bool finished = false;
};

// Printers that exist only in the test; every job is recorded.
class FakePrinters final : public IPrinters {
public:
    FakePrinters() = default;
    FakePrinters(QStringList names, QString defaultName);

    QStringList names() const override { return installed; }
    QString defaultName() const override { return defaultPrinter; }
    bool exists(const QString &name) const override;
    QString current() const override { return currentPrinter; }
    void setCurrent(const QString &name) override { currentPrinter = name; }
    QSizeF printableAreaMm(const QString &name) const override;
    std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) override;

    QStringList installed;
    QString defaultPrinter;
    QString currentPrinter;
    QSizeF printableMm = QSizeF(200, 287); // A4 with small margins
    QList<FakeJob> jobs;

    // Failures from the n-th job on (1-based, 0 = never).
    int vanishAtJob = 0;   // the printer disappears: startJob gives nothing
    int refuseAtJob = 0;   // finish() reports the job as not taken
    int beginFailsAtJob = 0; // QPainter::begin fails
    // Called as job n (1-based) starts, before anything is painted.
    std::function<void(int n)> onStartJob;
};

} // namespace kugelfon::test
