#include "platform/printjobs.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace kugelfon {

namespace {

// Qt's Windows print engine hands the document to the spooler while the
// painter ends (StartDoc/EndDoc) and marks the printer Aborted or Error when
// the spooler refuses it; so the answer is known once painting is over.
class SpoolerPrintJob final : public IPrintJob {
public:
    SpoolerPrintJob(const QString &printer, const QString &docName, const QPageLayout &layout)
        : m_printer(QPrinterInfo::printerInfo(printer), QPrinter::HighResolution)
    {
        m_printer.setDocName(docName);
        // Origin at the top-left corner of the printable area.
        m_printer.setFullPage(false);
        m_printer.setPageLayout(layout);
    }
    QPaintDevice *device() override { return &m_printer; }
    void submit() override
    {
        const auto state = m_printer.printerState();
        m_answer = state == QPrinter::Error || state == QPrinter::Aborted ? Answer::Refused : Answer::Taken;
    }
    Answer answer(int) override { return m_answer; }
    // The spooler has the document once painting ended; there is nothing to take back.
    void withdraw() override {}

private:
    QPrinter m_printer;
    Answer m_answer = Answer::Refused;
};

class SpoolerPrintJobs final : public PrintJobs {
public:
    std::unique_ptr<IPrintJob> start(const QString &printer, const QString &docName,
                                     const QPageLayout &layout) override
    {
        return std::make_unique<SpoolerPrintJob>(printer, docName, layout);
    }
};

} // namespace

std::unique_ptr<PrintJobs> makePrintJobs()
{
    return std::make_unique<SpoolerPrintJobs>();
}

} // namespace kugelfon
