#pragma once

#include "platform/printers.h"

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace kugelfon {

class CupsJob;

// Hands PDF documents to CUPS on a thread of its own, one after the other
// over one connection, so that no thread of the windows ever waits for the
// print server. Each job is created held and released once the server has
// the whole document: a job given up meanwhile is cancelled, never printed.
class CupsJobs {
public:
    CupsJobs();
    // Stops waiting for a server that does not answer; bounded to well
    // under a second.
    ~CupsJobs();
    CupsJobs(const CupsJobs &) = delete;
    CupsJobs &operator=(const CupsJobs &) = delete;

    std::shared_ptr<CupsJob> submit(const QString &printer, const QString &title, const QString &media,
                                    QByteArray pdf);

    struct Worker;

private:
    std::unique_ptr<Worker> d;
};

// One document on its way.
class CupsJob {
public:
    IPrintJob::Answer answer(int ms);
    // Not to be printed; the worker cancels it once the server answers.
    void withdraw();

private:
    friend class CupsJobs;
    friend struct CupsJobs::Worker;
    QString m_printer;
    QString m_title;
    QString m_media;
    QByteArray m_pdf;
    std::mutex m_mutex;
    std::condition_variable m_answered;
    IPrintJob::Answer m_answer = IPrintJob::Answer::None;
    bool m_withdrawn = false;
};

} // namespace kugelfon
