#include "fakes/fakeprinters.h"

#include <QPaintEngineState>

namespace kugelfon::test {

bool RecordingEngine::begin(QPaintDevice *)
{
    ++sessions;
    return !refuseBegin;
}

bool RecordingEngine::end() { return true; }

void RecordingEngine::drawRects(const QRectF *r, int count)
{
    for (int i = 0; i < count; ++i)
        rects.append(r[i]);
}

void RecordingEngine::drawRects(const QRect *r, int count)
{
    for (int i = 0; i < count; ++i)
        rects.append(QRectF(r[i]));
}

void RecordingEngine::drawTextItem(const QPointF &p, const QTextItem &item)
{
    texts.append({p, item.text(), item.font()});
}

int RecordingDevice::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth:
        return qRound(m_mm.width() * pxPerMm());
    case PdmHeight:
        return qRound(m_mm.height() * pxPerMm());
    case PdmWidthMM:
        return qRound(m_mm.width());
    case PdmHeightMM:
        return qRound(m_mm.height());
    case PdmNumColors:
        return 256;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(m);
    }
}

namespace {

class FakePrintJob final : public IPrintJob {
public:
    FakePrintJob(FakePrinters &owner, int index) : m_owner(owner), m_index(index) {}
    QPaintDevice *device() override { return m_owner.jobs[m_index].page.get(); }
    bool finish() override
    {
        FakeJob &job = m_owner.jobs[m_index];
        job.finished = true;
        return !(m_owner.refuseAtJob > 0 && m_index + 1 >= m_owner.refuseAtJob);
    }

private:
    FakePrinters &m_owner;
    int m_index;
};

} // namespace

FakePrinters::FakePrinters(QStringList names, QString defaultName)
    : installed(std::move(names)), defaultPrinter(std::move(defaultName)),
      currentPrinter(defaultPrinter)
{
}

bool FakePrinters::exists(const QString &name) const
{
    return !name.isEmpty() && installed.contains(name);
}

QSizeF FakePrinters::printableAreaMm(const QString &name) const
{
    return exists(name) ? printableMm : QSizeF();
}

std::unique_ptr<IPrintJob> FakePrinters::startJob(const QString &name, const QString &docName)
{
    const int n = jobs.size() + 1;
    if (onStartJob)
        onStartJob(n);
    if (!exists(name) || (vanishAtJob > 0 && n >= vanishAtJob))
        return nullptr;
    FakeJob job{name, docName, std::make_shared<RecordingDevice>(printableMm), false};
    job.page->engine().refuseBegin = beginFailsAtJob > 0 && n >= beginFailsAtJob;
    jobs.append(job);
    return std::make_unique<FakePrintJob>(*this, jobs.size() - 1);
}

} // namespace kugelfon::test
