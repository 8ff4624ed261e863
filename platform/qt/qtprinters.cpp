#include "platform/qt/qtprinters.h"

#include "platform/printjobs.h"

#include <QObject>
#include <QPrinter>
#include <QPrinterInfo>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace kugelfon {

// Shared with the thread that asks; it may outlive the printers when the
// server never answers.
struct QtPrinters::Asking {
    std::mutex mutex;
    std::condition_variable idle;
    bool busy = false;
    bool again = false;
    QObject *receiver = nullptr;
    std::optional<Answer> fresh;
    std::function<void()> take;

    static Answer ask()
    {
        Answer a;
        a.names = QPrinterInfo::availablePrinterNames();
        a.defaultName = QPrinterInfo::defaultPrinterName();
        // Every page now, so that a printer picked later needs no question.
        for (const QString &name : std::as_const(a.names)) {
            QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
            printer.setFullPage(false);
            a.pages.insert(name, printer.pageLayout());
        }
        a.answered = true;
        return a;
    }

    // Called with the mutex held.
    void start(const std::shared_ptr<Asking> &self)
    {
        if (busy) {
            again = true;
            return;
        }
        busy = true;
        std::thread([self] {
            for (;;) {
                Answer a = ask();
                std::lock_guard lock(self->mutex);
                self->fresh = std::move(a);
                if (self->receiver)
                    QMetaObject::invokeMethod(self->receiver, self->take, Qt::QueuedConnection);
                if (!self->again) {
                    self->busy = false;
                    self->idle.notify_all();
                    return;
                }
                self->again = false;
            }
        }).detach();
    }
};

QtPrinters::QtPrinters()
    : m_receiver(std::make_unique<QObject>()), m_asking(std::make_shared<Asking>()),
      m_jobs(makePrintJobs())
{
    std::lock_guard lock(m_asking->mutex);
    m_asking->receiver = m_receiver.get();
    m_asking->take = [this] { take(); };
    m_asking->start(m_asking);
}

QtPrinters::~QtPrinters()
{
    std::unique_lock lock(m_asking->mutex);
    m_asking->receiver = nullptr;
    m_asking->again = false;
    // A question about to be answered may finish inside the print support;
    // one the server keeps waiting is left behind.
    m_asking->idle.wait_for(lock, std::chrono::milliseconds(500), [this] { return !m_asking->busy; });
}

void QtPrinters::take()
{
    {
        std::lock_guard lock(m_asking->mutex);
        if (!m_asking->fresh)
            return;
        m_known = std::move(*m_asking->fresh);
        m_asking->fresh.reset();
    }
    if (m_onAnswer)
        m_onAnswer();
}

void QtPrinters::refresh(std::function<void()> answer)
{
    m_onAnswer = std::move(answer);
    std::lock_guard lock(m_asking->mutex);
    m_asking->start(m_asking);
}

bool QtPrinters::exists(const QString &name) const
{
    return !name.isEmpty() && m_known.names.contains(name);
}

QSizeF QtPrinters::printableAreaMm(const QString &name) const
{
    const QPageLayout page = m_known.pages.value(name);
    return exists(name) && page.isValid() ? page.paintRect(QPageLayout::Millimeter).size() : QSizeF();
}

std::unique_ptr<IPrintJob> QtPrinters::startJob(const QString &name, const QString &docName)
{
    // Whether the printer is still there, the server says when the job comes.
    QPageLayout page = m_known.pages.value(name);
    if (!page.isValid())
        page = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    return m_jobs->start(name, docName, page);
}

} // namespace kugelfon
