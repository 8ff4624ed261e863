#include "fakes/fakeprinters.h"

#include <QHash>

namespace kugelfon::test {

int RecordingPage::metric(PaintDeviceMetric m) const
{
    static const QHash<int, int> metrics = {{PdmWidth, qRound(200 * kPxPerMm)}, {PdmHeight, qRound(287 * kPxPerMm)},
                                            {PdmDpiX, 600}, {PdmDpiY, 600}, {PdmDevicePixelRatio, 1}};
    return metrics.contains(m) ? metrics[m] : QPaintDevice::metric(m);
}

namespace {

class FakePrintJob final : public IPrintJob {
public:
    FakePrintJob(std::shared_ptr<RecordingPage> page, bool refused)
        : m_page(std::move(page)), m_refused(refused) {}
    QPaintDevice *device() override { return m_page.get(); }
    bool finish() override { return !m_refused; }

private:
    std::shared_ptr<RecordingPage> m_page;
    bool m_refused;
};

} // namespace

std::unique_ptr<IPrintJob> FakePrinters::startJob(const QString &name, const QString &docName)
{
    const int n = jobs.size() + 1;
    if (onStartJob)
        onStartJob(n);
    if (!exists(name) || (vanishAtJob > 0 && n >= vanishAtJob))
        return nullptr;
    auto page = std::make_shared<RecordingPage>();
    page->printer = name;
    page->docName = docName;
    page->refuseBegin = beginFailsAtJob > 0 && n >= beginFailsAtJob;
    jobs.append(page);
    return std::make_unique<FakePrintJob>(page, refuseAtJob > 0 && n >= refuseAtJob);
}

} // namespace kugelfon::test
