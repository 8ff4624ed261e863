#include "platform/linux/cupsjobs.h"

#include <QUrl>

#include <atomic>
#include <cups/cups.h>
#include <deque>
#include <thread>

namespace kugelfon {

IPrintJob::Answer CupsJob::answer(int ms)
{
    std::unique_lock lock(m_mutex);
    m_answered.wait_for(lock, std::chrono::milliseconds(ms),
                        [this] { return m_answer != IPrintJob::Answer::None; });
    return m_answer;
}

void CupsJob::withdraw()
{
    std::lock_guard lock(m_mutex);
    m_withdrawn = true;
}

struct CupsJobs::Worker {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<CupsJob>> queue;
    bool quit = false;
    // Set as the program ends: no more waiting for the server.
    std::atomic<bool> abandon{false};
    int cancelConnect = 0;
    // While the document is still being written, a withdrawn job is cut off:
    // the server throws a request away that never ends.
    std::atomic<bool> writing{false};
    std::shared_ptr<CupsJob> current;
    http_t *http = nullptr;
    std::thread thread;

    bool withdrawn(CupsJob &job)
    {
        std::lock_guard lock(job.m_mutex);
        return job.m_withdrawn;
    }

    // Asked by libcups each quarter second the server keeps it waiting.
    static int keepWaiting(http_t *, void *data)
    {
        auto *w = static_cast<Worker *>(data);
        if (w->abandon)
            return 0;
        return w->writing && w->withdrawn(*w->current) ? 0 : 1;
    }

    http_t *connection()
    {
        if (!http) {
            http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 10000,
                                &cancelConnect);
            if (http)
                httpSetTimeout(http, 0.25, keepWaiting, this);
        }
        return http;
    }

    void dropConnection()
    {
        httpClose(http);
        http = nullptr;
    }

    // Release-Job or Cancel-Job for a job of ours.
    bool jobRequest(ipp_op_t op, int id)
    {
        http_t *h = connection();
        if (!h)
            return false;
        ipp_t *request = ippNewRequest(op);
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                         "/jobs/%d", id);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        ipp_t *response = cupsDoRequest(h, request, "/jobs/");
        const bool ok = response && ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING;
        ippDelete(response);
        return ok;
    }

    IPrintJob::Answer print(CupsJob &job)
    {
        http_t *h = connection();
        if (!h)
            return IPrintJob::Answer::Refused;
        const QByteArray name = job.m_printer.toUtf8();
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                         "/printers/%s", name.constData());
        ipp_t *request = ippNewRequest(IPP_OP_PRINT_JOB);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                     job.m_title.toUtf8().constData());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                     "application/pdf");
        ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "job-hold-until", nullptr, "indefinite");
        if (!job.m_media.isEmpty())
            ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "media", nullptr,
                         job.m_media.toUtf8().constData());
        const QByteArray resource = "/printers/" + QUrl::toPercentEncoding(job.m_printer);

        // One request with the whole document: the server makes no job of it
        // before the document is in, so a request cut off leaves nothing.
        writing = true;
        http_status_t sent = cupsSendRequest(h, request, resource.constData(),
                                            ippLength(request) + size_t(job.m_pdf.size()));
        if (sent == HTTP_STATUS_CONTINUE)
            sent = cupsWriteRequestData(h, job.m_pdf.constData(), size_t(job.m_pdf.size()));
        writing = false;
        ipp_t *response = sent == HTTP_STATUS_CONTINUE ? cupsGetResponse(h, resource.constData()) : nullptr;
        ippDelete(request);
        if (!response) {
                dropConnection();
            return IPrintJob::Answer::Refused;
        }
        const ipp_status_t status = ippGetStatusCode(response);
        const int id = ippGetInteger(ippFindAttribute(response, "job-id", IPP_TAG_INTEGER), 0);
        ippDelete(response);
        if (status == IPP_STATUS_ERROR_NOT_FOUND)
            return IPrintJob::Answer::PrinterGone;
        if (status > IPP_STATUS_OK_CONFLICTING || id <= 0)
            return IPrintJob::Answer::Refused;

        // Given up while the server kept us waiting: it must not print.
        if (withdrawn(job) || !jobRequest(IPP_OP_RELEASE_JOB, id)) {
            jobRequest(IPP_OP_CANCEL_JOB, id);
            return IPrintJob::Answer::Refused;
        }
        if (withdrawn(job)) // released already; stop it if it has not printed yet
            jobRequest(IPP_OP_CANCEL_JOB, id);
        return IPrintJob::Answer::Taken;
    }

    void run()
    {
        for (;;) {
            std::shared_ptr<CupsJob> job;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [this] { return quit || !queue.empty(); });
                if (quit)
                    break;
                job = std::move(queue.front());
                queue.pop_front();
            }
            current = job;
            const IPrintJob::Answer answer =
                abandon || withdrawn(*job) ? IPrintJob::Answer::Refused : print(*job);
            {
                std::lock_guard lock(job->m_mutex);
                job->m_answer = answer;
            }
            job->m_answered.notify_all();
            current.reset();
        }
        if (http)
            dropConnection();
    }
};

CupsJobs::CupsJobs() : d(std::make_unique<Worker>())
{
    d->thread = std::thread([w = d.get()] { w->run(); });
}

CupsJobs::~CupsJobs()
{
    {
        std::lock_guard lock(d->mutex);
        d->quit = true;
    }
    d->abandon = true;
    d->cancelConnect = 1;
    d->wake.notify_all();
    d->thread.join();
}

std::shared_ptr<CupsJob> CupsJobs::submit(const QString &printer, const QString &title, const QString &media,
                                          QByteArray pdf)
{
    auto job = std::make_shared<CupsJob>();
    job->m_printer = printer;
    job->m_title = title;
    job->m_media = media;
    job->m_pdf = std::move(pdf);
    {
        std::lock_guard lock(d->mutex);
        d->queue.push_back(job);
    }
    d->wake.notify_all();
    return job;
}

} // namespace kugelfon
