#include "platform/qtprinters.h"

#include "platform/spoolstatus.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace kugelfon {

namespace {

class QtPrintJob final : public IPrintJob {
public:
    QtPrintJob(const QPrinterInfo &info, const QString &docName)
        : m_printer(info, QPrinter::HighResolution)
    {
        m_printer.setDocName(docName);
        // Origin at the top-left corner of the printable area.
        m_printer.setFullPage(false);
    }
    QPaintDevice *device() override { return &m_printer; }
    bool finish() override
    {
        const auto state = m_printer.printerState();
        if (state == QPrinter::Error || state == QPrinter::Aborted)
            return false;
        // A queue that refuses jobs, or a printer removed meanwhile.
        return !spoolerRefusedLastJob();
    }

private:
    QPrinter m_printer;
};

} // namespace

QtPrinters::QtPrinters() = default;

QStringList QtPrinters::names() const { return QPrinterInfo::availablePrinterNames(); }

QString QtPrinters::defaultName() const { return QPrinterInfo::defaultPrinterName(); }

bool QtPrinters::exists(const QString &name) const
{
    return !name.isEmpty() && names().contains(name);
}

QSizeF QtPrinters::printableAreaMm(const QString &name) const
{
    if (!exists(name))
        return {};
    QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    printer.setFullPage(false);
    return printer.pageLayout().paintRect(QPageLayout::Millimeter).size();
}

std::unique_ptr<IPrintJob> QtPrinters::startJob(const QString &name, const QString &docName)
{
    // Checked per job: a printer can vanish while a run is going on.
    if (!exists(name))
        return nullptr;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return nullptr;
    return std::make_unique<QtPrintJob>(info, docName);
}

} // namespace kugelfon
