#pragma once

#include "platform/printers.h"

#include <QPageLayout>
#include <QString>
#include <memory>

namespace kugelfon {

// How a document reaches the printer differs by operating system; QtPrinters
// finds the printers and their pages through Qt, this hands the documents on.
class PrintJobs {
public:
    virtual ~PrintJobs() = default;
    // A document on the named printer, drawn on the given page.
    virtual std::unique_ptr<IPrintJob> start(const QString &printer, const QString &docName,
                                             const QPageLayout &layout) = 0;
};

// The system's own way; one implementation per operating system.
std::unique_ptr<PrintJobs> makePrintJobs();

} // namespace kugelfon
