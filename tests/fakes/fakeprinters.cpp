#include "fakes/fakeprinters.h"

#include <QHash>
#include <QThread>

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
    FakePrintJob(std::shared_ptr<RecordingPage> page, Answer answer) : m_page(std::move(page)), m_answer(answer) {}
    ~FakePrintJob() override { withdraw(); }
    QPaintDevice *device() override { return m_page.get(); }
    void submit() override { m_submitted = true; }
    Answer answer(int ms) override
    {
        if (m_submitted && m_answer != Answer::None)
            return m_answer;
        QThread::msleep(ms); // as a server that keeps the caller waiting
        return Answer::None;
    }
    void withdraw() override { m_page->withdrawn |= m_submitted && m_answer == Answer::None; }

private:
    std::shared_ptr<RecordingPage> m_page;
    Answer m_answer;
    bool m_submitted = false;
};

} // namespace

std::unique_ptr<IPrintJob> FakePrinters::startJob(const QString &name, const QString &docName)
{
    const int n = jobs.size() + 1;
    if (onStartJob)
        onStartJob(n);
    const auto from = [&](const char *what) { return trouble == QLatin1String(what) && n >= troubleAt; };
    if (!exists(name) || from("vanish"))
        return nullptr;
    auto page = std::make_shared<RecordingPage>();
    page->printer = name;
    page->docName = docName;
    page->refuseBegin = from("begin");
    jobs.append(page);
    using A = IPrintJob::Answer;
    return std::make_unique<FakePrintJob>(page, from("hang") ? A::None : from("refuse") ? A::Refused : A::Taken);
}

} // namespace kugelfon::test
