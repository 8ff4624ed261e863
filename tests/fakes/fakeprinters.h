#pragma once

#include "platform/printers.h"

#include <QFont>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <functional>
#include <memory>

namespace kugelfon::test {

struct RecordedText {
    QPointF baseline; // device pixels
    QString text;
    QFont font;
};

// A page of 200 x 287 mm (A4 less small margins) at 600 dpi that keeps the
// frames and texts painted on it, in device pixels.
class RecordingPage final : public QPaintDevice, public QPaintEngine {
public:
    RecordingPage() : QPaintEngine(AllFeatures) {}
    static constexpr double kPxPerMm = 600 / 25.4;

    QPaintEngine *paintEngine() const override { return const_cast<RecordingPage *>(this); }
    bool begin(QPaintDevice *) override { return !refuseBegin; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    using QPaintEngine::drawRects; // integer rectangles come here as QRectF
    void drawRects(const QRectF *r, int count) override { rects.append(QList<QRectF>(r, r + count)); }
    void drawTextItem(const QPointF &p, const QTextItem &item) override { texts.append({p, item.text(), item.font()}); }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { ++others; }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override { ++others; }
    void drawPath(const QPainterPath &) override { ++others; }
    Type type() const override { return User; }

    QString printer, docName;
    QList<QRectF> rects;
    QList<RecordedText> texts;
    int others = 0; // any other drawing (there should be none)
    bool refuseBegin = false, withdrawn = false;

protected:
    int metric(PaintDeviceMetric m) const override;
};

// Printers that exist only in the test, as the print server last answered; every job is recorded.
class FakePrinters final : public IPrinters {
public:
    FakePrinters(QStringList names, QString defaultName)
        : installed(std::move(names)), defaultPrinter(std::move(defaultName)), currentPrinter(defaultPrinter) {}

    bool answered() const override { return known; }
    void refresh(std::function<void()> answer) override { onAnswer = std::move(answer); }
    void answer() { known = true, onAnswer ? onAnswer() : void(); }

    QStringList names() const override { return known ? installed : QStringList(); }
    QString defaultName() const override { return defaultPrinter; }
    bool exists(const QString &name) const override { return known && !name.isEmpty() && installed.contains(name); }
    QString current() const override { return currentPrinter; }
    void setCurrent(const QString &name) override { currentPrinter = name; }
    QSizeF printableAreaMm(const QString &name) const override
    {
        return exists(name) && !silent ? QSizeF(200, 287) : QSizeF();
    }
    std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) override;

    bool known = true; // false: no answer yet
    std::function<void()> onAnswer;
    QStringList installed;
    QString defaultPrinter, currentPrinter;
    QList<std::shared_ptr<RecordingPage>> jobs;
    bool silent = false; // the server tells nothing of the page
    // From job troubleAt (1-based) on: "vanish" (the printer is gone), "begin"
    // (painting fails), "refuse" (the job is not taken), "hang" (no answer).
    QString trouble;
    int troubleAt = 0;
    std::function<void(int n)> onStartJob; // as job n starts, before painting
};

} // namespace kugelfon::test
