#pragma once

#include "platform/printers.h"

#include <QHash>
#include <QPageLayout>
#include <functional>
#include <memory>

class QObject;

namespace kugelfon {

class PrintJobs;

// The printers of the system through Qt's print support; the documents go
// to the system as PrintJobs hands them on (on Linux to CUPS from a thread
// of its own). The print server is asked on a thread of its own too, one
// question at a time: a server that has stopped keeps that thread, never the
// windows, waiting.
class QtPrinters : public IPrinters {
public:
    // Asks the server at once, so its answer is in before the print dialog opens.
    QtPrinters();
    ~QtPrinters() override;
    bool answered() const override { return m_known.answered; }
    void refresh(std::function<void()> answer) override;
    QStringList names() const override { return m_known.names; }
    QString defaultName() const override { return m_known.defaultName; }
    bool exists(const QString &name) const override;
    // The default printer until another is chosen.
    QString current() const override { return m_currentChosen ? m_current : m_known.defaultName; }
    void setCurrent(const QString &name) override
    {
        m_current = name;
        m_currentChosen = true;
    }
    QSizeF printableAreaMm(const QString &name) const override;
    // Drawn on the page of the printer as the server last described it.
    std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) override;

    // What one answer of the server says.
    struct Answer {
        bool answered = false;
        QStringList names;
        QString defaultName;
        QHash<QString, QPageLayout> pages;
    };
    struct Asking;

private:
    void take();

    QString m_current;
    bool m_currentChosen = false;
    Answer m_known;
    std::function<void()> m_onAnswer;
    // Receives the answers on the windows' thread; gone with this object.
    std::unique_ptr<QObject> m_receiver;
    std::shared_ptr<Asking> m_asking;
    std::unique_ptr<PrintJobs> m_jobs;
};

} // namespace kugelfon
