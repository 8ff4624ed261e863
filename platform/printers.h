#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPaintDevice;

namespace kugelfon {

// One print document on one printer. Paint on device() with a single QPainter
// session; after QPainter::end(), submit() hands it to the print server and
// answer() tells what the server made of it.
class IPrintJob {
public:
    enum class Answer {
        None,        // no answer yet
        Taken,       // the server holds the document for the printer
        Refused,     // the server would not take it
        PrinterGone, // the server knows no such printer
    };
    virtual ~IPrintJob() = default;
    virtual QPaintDevice *device() = 0;
    // Returns at once: the server is talked to elsewhere.
    virtual void submit() = 0;
    // The server's answer, waiting at most ms for it.
    virtual Answer answer(int ms) = 0;
    // Gives up a job that has no answer yet: it is not to be printed, though
    // the server may answer later. A job dropped unanswered is withdrawn.
    virtual void withdraw() = 0;
};

// The installed printers and the program's current printer. The print
// server is asked in the background: the questions below return at once with
// its last answer, which stands while it keeps a new question waiting.
class IPrinters {
public:
    virtual ~IPrinters() = default;
    // Whether the print server has answered yet; until then no printer is known.
    virtual bool answered() const = 0;
    // Asks the print server again without waiting for it; answer runs on the
    // windows' thread each time a new answer is in, until replaced.
    virtual void refresh(std::function<void()> answer) = 0;
    // Device names in the order the system lists them.
    virtual QStringList names() const = 0;
    // The system's default printer; empty when there is none.
    virtual QString defaultName() const = 0;
    virtual bool exists(const QString &name) const = 0;

    // The printer that prints; starts as the default printer.
    virtual QString current() const = 0;
    virtual void setCurrent(const QString &name) = 0;

    // Width and height of the printable area of the printer's page in
    // millimetres; empty when the printer is unknown.
    virtual QSizeF printableAreaMm(const QString &name) const = 0;
    // A new document on the named printer, nullptr when the printer is
    // known to be gone. Waits for nothing.
    virtual std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) = 0;
};

} // namespace kugelfon
