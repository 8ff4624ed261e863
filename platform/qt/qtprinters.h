#pragma once

#include "platform/printers.h"

#include <QHash>
#include <QPageLayout>
#include <functional>
#include <memory>
#include <optional>

namespace kugelfon {

class PrintJobs;

// The printers of the system through Qt's print support; the documents go
// to the system as PrintJobs hands them on (on Linux to CUPS from a thread
// of its own). A print server that
// keeps a question waiting holds the caller for a few seconds at most; the
// last answer it gave stands in until it answers again.
class QtPrinters final : public IPrinters {
public:
    QtPrinters();
    ~QtPrinters() override;
    QStringList names() const override;
    QString defaultName() const override;
    bool exists(const QString &name) const override;
    // The default printer until another is chosen; asked for only when
    // needed, so a slow print server cannot delay the program's start.
    QString current() const override { return m_currentChosen ? m_current : defaultName(); }
    void setCurrent(const QString &name) override
    {
        m_current = name;
        m_currentChosen = true;
    }
    QSizeF printableAreaMm(const QString &name) const override;
    // Drawn on the page of the printer as printableAreaMm() last found it.
    std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) override;

    struct Query;

private:
    QPageLayout layout(const QString &name) const;
    template <class T>
    std::optional<T> ask(std::function<T()> query) const;

    QString m_current;
    bool m_currentChosen = false;
    // The last answers of the print server, kept for when it does not answer.
    mutable QStringList m_names;
    mutable QString m_default;
    mutable QHash<QString, QPageLayout> m_layouts;
    // The query still waiting for the server, if one is.
    mutable std::shared_ptr<Query> m_waiting;
    std::unique_ptr<PrintJobs> m_jobs;
};

} // namespace kugelfon
