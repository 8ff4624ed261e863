#include "platform/printjobs.h"

#include "platform/linux/cupsjobs.h"

#include <QBuffer>
#include <QPdfWriter>

namespace kugelfon {

namespace {

// The document is drawn into a PDF in memory, as Qt's own CUPS printing
// does, and handed to CUPS only when it is complete.
class CupsPrintJob final : public IPrintJob {
public:
    CupsPrintJob(CupsJobs &jobs, QString printer, const QString &docName, const QPageLayout &layout)
        : m_jobs(jobs), m_printer(std::move(printer)), m_title(docName), m_media(layout.pageSize().key()),
          m_writer(&m_buffer)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer.setTitle(docName);
        m_writer.setResolution(1200);
        // Origin at the top-left corner of the printable area.
        m_writer.setPageLayout(layout);
    }
    ~CupsPrintJob() override { withdraw(); }
    QPaintDevice *device() override { return &m_writer; }
    void submit() override
    {
        m_buffer.close();
        m_job = m_jobs.submit(m_printer, m_title, m_media, m_buffer.buffer());
    }
    Answer answer(int ms) override { return m_job ? m_job->answer(ms) : Answer::Refused; }
    void withdraw() override
    {
        if (m_job && m_job->answer(0) == Answer::None)
            m_job->withdraw();
    }

private:
    CupsJobs &m_jobs;
    QString m_printer;
    QString m_title;
    QString m_media;
    QBuffer m_buffer;
    QPdfWriter m_writer;
    std::shared_ptr<CupsJob> m_job;
};

class CupsPrintJobs final : public PrintJobs {
public:
    std::unique_ptr<IPrintJob> start(const QString &printer, const QString &docName,
                                     const QPageLayout &layout) override
    {
        return std::make_unique<CupsPrintJob>(m_jobs, printer, docName, layout);
    }

private:
    CupsJobs m_jobs;
};

} // namespace

std::unique_ptr<PrintJobs> makePrintJobs()
{
    return std::make_unique<CupsPrintJobs>();
}

} // namespace kugelfon
