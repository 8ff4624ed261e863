#pragma once

#include "platform/printers.h"

namespace kugelfon {

// The printers of the system through Qt's print support (CUPS on Linux).
class QtPrinters final : public IPrinters {
public:
    QtPrinters();
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
    std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) override;

private:
    QString m_current;
    bool m_currentChosen = false;
};

} // namespace kugelfon
