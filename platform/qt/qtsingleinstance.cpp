#include "platform/qt/qtsingleinstance.h"

#include "platform/desktopsession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>

namespace kugelfon {

namespace {

// The running program answers from its event loop, which building its main
// window holds up for a moment on a slow machine.
constexpr int kAnswerMs = 5000;
constexpr int kPollMs = 50;

} // namespace

QtSingleInstance::QtSingleInstance()
{
    const QString base = desktopsession::folder();
    if (!base.isEmpty())
        m_folder = base + QStringLiteral("/kugelfon");
    // A file name anywhere, and no wildcard in the requests' pattern.
    m_key = desktopsession::key();
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_-]"));
    m_key.replace(unsafe, QStringLiteral("_"));
}

QtSingleInstance::~QtSingleInstance() = default;

ISingleInstance::Claim QtSingleInstance::claim()
{
    // Without a folder of its own it runs unguarded rather than not at all.
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return Claim::Held;
    m_lock = std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + m_key + QStringLiteral(".lock"));
    // Stale only when its program is gone (crashed, killed), however long
    // the evening: not after the default 30 s.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        watch();
        return Claim::Held;
    }
    if (m_lock->error() != QLockFile::LockFailedError)
        return Claim::Held;

    qint64 pid = 0;
    if (m_lock->getLockInfo(&pid, nullptr, nullptr))
        desktopsession::allowToFront(pid);
    const QString request = m_folder + QLatin1Char('/') + m_key + QStringLiteral(".front-")
                            + QString::number(QCoreApplication::applicationPid());
    QFile file(request);
    if (!file.open(QIODevice::WriteOnly))
        return Claim::Unanswered;
    file.close();
    const QDeadlineTimer deadline(kAnswerMs);
    while (QFile::exists(request)) {
        // The running one ended meanwhile: this start takes its place.
        if (m_lock->tryLock(0)) {
            QFile::remove(request);
            watch();
            return Claim::Held;
        }
        if (deadline.hasExpired()) {
            QFile::remove(request);
            return Claim::Unanswered;
        }
        QThread::msleep(kPollMs);
    }
    return Claim::Answered;
}

void QtSingleInstance::watch()
{
    m_watcher = std::make_unique<QFileSystemWatcher>(QStringList{m_folder});
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, m_watcher.get(),
                     [this] { answerRequests(); });
}

void QtSingleInstance::setFrontHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
    // Asked while this start was on its way.
    answerRequests();
}

void QtSingleInstance::answerRequests()
{
    if (!m_watcher || !m_handler)
        return;
    QDir dir(m_folder);
    const QStringList requests = dir.entryList({m_key + QStringLiteral(".front-*")}, QDir::Files);
    if (requests.isEmpty())
        return;
    m_handler();
    removeRequests(requests, kAnswerMs / kPollMs);
}

void QtSingleInstance::removeRequests(QStringList names, int tries)
{
    // Answered: the later start ends once its request is gone. Windows removes
    // no file still open, by its writer or a virus scanner: then again shortly.
    QDir dir(m_folder);
    names.removeIf([&dir](const QString &name) { return dir.remove(name) || !dir.exists(name); });
    if (!names.isEmpty() && tries > 0)
        QTimer::singleShot(kPollMs, m_watcher.get(), [this, names, tries] { removeRequests(names, tries - 1); });
}

} // namespace kugelfon
