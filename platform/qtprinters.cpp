#include "platform/qtprinters.h"

#include "platform/cupsjobs.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kugelfon {

namespace {

// The document is drawn into a PDF in memory, as Qt's own CUPS printing
// does, and handed to CUPS only when it is complete.
class QtPrintJob final : public IPrintJob {
public:
    QtPrintJob(CupsJobs &jobs, QString printer, const QString &docName, const QPageLayout &layout)
        : m_jobs(jobs), m_printer(std::move(printer)), m_title(docName), m_media(layout.pageSize().key()),
          m_writer(&m_buffer)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer.setTitle(docName);
        m_writer.setResolution(1200);
        // Origin at the top-left corner of the printable area.
        m_writer.setPageLayout(layout);
    }
    ~QtPrintJob() override { withdraw(); }
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

} // namespace

QtPrinters::QtPrinters() : m_jobs(std::make_unique<CupsJobs>()) {}

QtPrinters::~QtPrinters() = default;

QStringList QtPrinters::names() const { return QPrinterInfo::availablePrinterNames(); }

QString QtPrinters::defaultName() const { return QPrinterInfo::defaultPrinterName(); }

bool QtPrinters::exists(const QString &name) const
{
    return !name.isEmpty() && names().contains(name);
}

QPageLayout QtPrinters::layout(const QString &name) const
{
    QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    printer.setFullPage(false);
    m_layouts.insert(name, printer.pageLayout());
    return printer.pageLayout();
}

QSizeF QtPrinters::printableAreaMm(const QString &name) const
{
    if (!exists(name))
        return {};
    return layout(name).paintRect(QPageLayout::Millimeter).size();
}

std::unique_ptr<IPrintJob> QtPrinters::startJob(const QString &name, const QString &docName)
{
    // Whether the printer is still there, the server says when the job comes.
    const auto known = m_layouts.constFind(name);
    return std::make_unique<QtPrintJob>(*m_jobs, name, docName,
                                        known != m_layouts.cend() ? *known : layout(name));
}

} // namespace kugelfon
