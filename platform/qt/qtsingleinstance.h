#pragma once

#include "platform/singleinstance.h"

#include <QString>
#include <memory>

class QFileSystemWatcher;
class QLockFile;

namespace kugelfon {

// The session is held by a lock file in the user's own folder; a later start
// leaves a request file beside it and waits until the running program has
// come to the front and removed it. Files, not a local socket: the Qt for
// Windows is built without Qt Network. Create it after the QApplication.
class QtSingleInstance final : public ISingleInstance {
public:
    QtSingleInstance();
    ~QtSingleInstance() override;

    Claim claim() override;
    void setFrontHandler(std::function<void()> handler) override;

private:
    void watch();
    void answerRequests();
    void removeRequests(QStringList names, int tries);

    QString m_folder;
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    std::function<void()> m_handler;
};

} // namespace kugelfon
