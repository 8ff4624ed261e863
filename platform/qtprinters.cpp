#include "platform/qtprinters.h"

#include "platform/cupsjobs.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <condition_variable>
#include <mutex>
#include <thread>

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

// How long a question to the print server may hold the window. Finding
// network printers can take a few seconds; a server that has stopped never answers.
constexpr int kServerWaitMs = 5000;

struct QtPrinters::Query {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
};

QtPrinters::QtPrinters() : m_jobs(std::make_unique<CupsJobs>()) {}

QtPrinters::~QtPrinters() = default;

// The query runs on a thread of its own, left behind when the server keeps
// it waiting; until it returns, the server is asked nothing more.
template <class T>
std::optional<T> QtPrinters::ask(std::function<T()> query) const
{
    if (m_waiting) {
        std::lock_guard lock(m_waiting->mutex);
        if (!m_waiting->done)
            return std::nullopt;
    }
    auto waiting = std::make_shared<Query>();
    auto result = std::make_shared<std::optional<T>>();
    std::thread([waiting, result, query = std::move(query)] {
        T value = query();
        std::lock_guard lock(waiting->mutex);
        *result = std::move(value);
        waiting->done = true;
        waiting->answered.notify_all();
    }).detach();
    m_waiting = waiting;
    std::unique_lock lock(waiting->mutex);
    waiting->answered.wait_for(lock, std::chrono::milliseconds(kServerWaitMs), [&] { return waiting->done; });
    return waiting->done ? *result : std::nullopt;
}

QStringList QtPrinters::names() const
{
    if (auto answer = ask<QStringList>([] { return QPrinterInfo::availablePrinterNames(); }))
        m_names = *answer;
    return m_names;
}

QString QtPrinters::defaultName() const
{
    if (auto answer = ask<QString>([] { return QPrinterInfo::defaultPrinterName(); }))
        m_default = *answer;
    return m_default;
}

bool QtPrinters::exists(const QString &name) const
{
    return !name.isEmpty() && names().contains(name);
}

QPageLayout QtPrinters::layout(const QString &name) const
{
    const auto answer = ask<QPageLayout>([name] {
        QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        printer.setFullPage(false);
        return printer.pageLayout();
    });
    if (answer)
        m_layouts.insert(name, *answer);
    return m_layouts.value(name);
}

QSizeF QtPrinters::printableAreaMm(const QString &name) const
{
    if (!exists(name))
        return {};
    const QPageLayout page = layout(name);
    return page.isValid() ? page.paintRect(QPageLayout::Millimeter).size() : QSizeF();
}

std::unique_ptr<IPrintJob> QtPrinters::startJob(const QString &name, const QString &docName)
{
    // Whether the printer is still there, the server says when the job comes.
    QPageLayout page = m_layouts.value(name);
    if (!page.isValid())
        page = layout(name);
    if (!page.isValid())
        page = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    return std::make_unique<QtPrintJob>(*m_jobs, name, docName, page);
}

} // namespace kugelfon
