#include "platform/qt/qtprinters.h"

#include "platform/printjobs.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kugelfon {

// How long a question to the print server may hold the window. Finding
// network printers can take a few seconds; a server that has stopped never answers.
constexpr int kServerWaitMs = 5000;

struct QtPrinters::Query {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
};

QtPrinters::QtPrinters() : m_jobs(makePrintJobs()) {}

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
    return m_jobs->start(name, docName, page);
}

} // namespace kugelfon
