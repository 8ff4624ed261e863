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
    QString current() const override { return m_current; }
    void setCurrent(const QString &name) override { m_current = name; }
    QSizeF printableAreaMm(const QString &name) const override;
    std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) override;

private:
    QString m_current;
};

} // namespace kugelfon
