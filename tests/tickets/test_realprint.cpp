#include "fakes/fakes.h"
#include "platform/qtprinters.h"
#include "tickets/printdialog.h"
#include "tickets/ticketprinting.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

using namespace kugelfon;

namespace {

const QString kQueue = QStringLiteral("KugelfonPDF");

struct Word {
    QString text;
    QRectF mm; // page coordinates in millimetres
};

// Runs a tool with a bounded wait; its stdout, or a null string on failure.
QString run(const QString &program, const QStringList &args, int timeoutMs = 20000)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished(1000);
        return QString();
    }
    QString out = QString::fromUtf8(p.readAllStandardOutput());
    return out.isNull() ? QStringLiteral("") : out; // empty but not null: it ran
}

QList<Word> wordsOf(const QString &pdf)
{
    QList<Word> words;
    const QString html = run(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"});
    static const QRegularExpression re(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    const double k = 25.4 / 72;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble() * k, m.captured(2).toDouble() * k),
                                            QPointF(m.captured(3).toDouble() * k, m.captured(4).toDouble() * k))});
    }
    return words;
}

// Where cups-pdf puts the jobs of the given user, from its settings.
QString cupsPdfFolder(const passwd *user)
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray &raw : conf.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith(QStringLiteral("Out ")))
                out = line.mid(4).trimmed();
        }
    }
    out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user->pw_dir));
    out.replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(user->pw_name));
    return out;
}

// The system's printers, with a look at each job as it starts.
class WatchedPrinters final : public IPrinters {
public:
    QStringList names() const override { return m_real.names(); }
    QString defaultName() const override { return m_real.defaultName(); }
    bool exists(const QString &name) const override { return m_real.exists(name); }
    QString current() const override { return m_real.current(); }
    void setCurrent(const QString &name) override { m_real.setCurrent(name); }
    QSizeF printableAreaMm(const QString &name) const override
    {
        return m_real.printableAreaMm(name);
    }
    std::unique_ptr<IPrintJob> startJob(const QString &name, const QString &docName) override
    {
        onStartJob(++m_started);
        return m_real.startJob(name, docName);
    }
    std::function<void(int n)> onStartJob = [](int) {};

private:
    QtPrinters m_real;
    int m_started = 0;
};

// The print dialog as the menu opens it, with the ticket count typed in.
PrintDialog *openDialog(const Services &services, const char *tickets)
{
    auto *dialog = new PrintDialog(services, [] {});
    dialog->show();
    QApplication::setActiveWindow(dialog);
    if (!QTest::qWaitForWindowActive(dialog)) {
        delete dialog;
        return nullptr;
    }
    auto *scheine = dialog->findChild<QComboBox *>(QStringLiteral("cboScheine"));
    QTest::mouseClick(scheine->lineEdit(), Qt::LeftButton);
    scheine->lineEdit()->selectAll();
    QTest::keyClicks(scheine->lineEdit(), tickets);
    return dialog;
}

void clickDrucken(PrintDialog *dialog)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdDruck")), Qt::LeftButton);
}

} // namespace

class TestRealPrint : public QObject {
    Q_OBJECT
public:
    explicit TestRealPrint(QString root) : m_root(std::move(root)) {}

private slots:
    void initTestCase();
    void threeTicketsGiveThreeOnePagePdfs();
    void refusingQueueStopsTheRun();
    void abbrechenStopsAfterTheTicketInHand();
    void cleanupTestCase();

private:
    QString m_root;
    QProcess m_cupsd;
    int m_firstJob = 0;
    QString m_outDir;
    QStringList m_made;
};

void TestRealPrint::initTestCase()
{
    if (m_root.isEmpty())
        QSKIP("no temporary folder for the private cupsd");
    if (geteuid() != 0)
        QSKIP("a private cupsd with the cups-pdf backend needs root (cups-pdf refuses to run otherwise)");
    for (const char *tool : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat", "/usr/bin/pdftotext",
                             "/usr/bin/pdfinfo", "/usr/lib/cups/backend/cups-pdf",
                             "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"})
        if (!QFile::exists(QString::fromLatin1(tool)))
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool))));

    QDir root(m_root);
    for (const char *sub : {"spool", "spool/tmp", "cache", "state", "ppd", "log"})
        QVERIFY(root.mkpath(QString::fromLatin1(sub)));
    QFile::setPermissions(m_root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                      | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                      | QFileDevice::ReadOther | QFileDevice::ExeOther);
    auto write = [&](const QString &name, const QString &text) {
        QFile f(root.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    };
    write(QStringLiteral("cupsd.conf"),
          QStringLiteral("Listen %1/cups.sock\nLogLevel warn\nBrowsing Off\nDefaultAuthType None\n"
                         "WebInterface No\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                         "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
              .arg(m_root));
    write(QStringLiteral("cups-files.conf"),
          QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                         "TempDir %1/spool/tmp\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                         "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                         "User lp\nGroup lp\nSystemGroup root\nFileDevice No\n")
              .arg(m_root));
    // A random first job number keeps this run's PDFs apart from any other.
    m_firstJob = QRandomGenerator::global()->bounded(100000, 900000);
    write(QStringLiteral("cache/job.cache"), QStringLiteral("NextJobId %1\n").arg(m_firstJob));

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                  {"-f", "-c", root.filePath("cupsd.conf"), "-s", root.filePath("cups-files.conf")});
    if (!m_cupsd.waitForStarted(5000))
        QSKIP("cupsd does not start here");
    QElapsedTimer t;
    t.start();
    while (!run("lpstat", {"-r"}, 3000).contains(QStringLiteral("scheduler is running"))) {
        if (t.elapsed() > 15000 || m_cupsd.state() == QProcess::NotRunning) {
            QFile log(root.filePath("log/error_log"));
            log.open(QIODevice::ReadOnly);
            QSKIP(qPrintable(QStringLiteral("a private cupsd cannot run here: %1 %2")
                                 .arg(QString::fromUtf8(m_cupsd.readAll()), QString::fromUtf8(log.readAll().right(600)))));
        }
        QTest::qWait(100);
    }
    QVERIFY(!run("lpadmin", {"-p", kQueue, "-E", "-v", "cups-pdf:/", "-P",
                             "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "-o",
                             "pdftops-renderer-default=pdftocairo", "-o", "Label=1"})
                 .isNull());
    QVERIFY(!run("lpadmin", {"-d", kQueue}).isNull());
    QTRY_COMPARE_WITH_TIMEOUT(QPrinterInfo::defaultPrinterName(), kQueue, 10000);

    const passwd *me = getpwuid(geteuid());
    QVERIFY(me);
    m_outDir = cupsPdfFolder(me);
}

void TestRealPrint::threeTicketsGiveThreeOnePagePdfs()
{
    test::FakeServices fakes;
    QtPrinters printers;
    Services services = fakes.services();
    services.printers = &printers;
    const quint64 seed = 4711;
    fakes.random = test::FakeRandom(seed);

    PrintDialog *dialog = openDialog(services, "3");
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("cboDrucker"))->currentText(), kQueue);
    clickDrucken(dialog);
    QCOMPARE(fakes.messages.shown.size(), 1); // the summary, nothing after it
    QCOMPARE(dialog->lastRunPrinted(), 3);
    delete dialog;

    // The same generator gives the same tickets again (its reseeds do not
    // look at the clock, and without free cells printing draws nothing).
    test::FakeRandom replay(seed);
    PrintSettings s; // 1 block of 1 row x 5 columns from 75
    QList<QList<int>> expected;
    for (int n = 0; n < 3; ++n) {
        TicketNumbers t;
        buildTicket(replay, s, t);
        QList<int> row;
        for (int c = 1; c <= 5; ++c)
            row.append(t.at(1, 1, c));
        expected.append(row);
    }

    // cups-pdf writes job_<id>-<title>.pdf once the job is done.
    QStringList files;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 60000) {
        files.clear();
        for (int id = m_firstJob; id < m_firstJob + 3; ++id) {
            const QStringList found =
                QDir(m_outDir).entryList({QStringLiteral("job_%1-*.pdf").arg(id)}, QDir::Files);
            if (!found.isEmpty())
                files.append(QDir(m_outDir).filePath(found.first()));
        }
        if (files.size() == 3 && run("lpstat", {"-W", "not-completed", "-o"}, 3000).trimmed().isEmpty())
            break;
        QTest::qWait(250);
    }
    m_made = files;
    QCOMPARE(files.size(), 3);
    // Nothing beyond the three jobs.
    QVERIFY(QDir(m_outDir).entryList({QStringLiteral("job_%1-*.pdf").arg(m_firstJob + 3)}).isEmpty());

    QPrinter probe(QPrinterInfo::printerInfo(kQueue), QPrinter::HighResolution);
    const QRectF area = probe.pageLayout().paintRect(QPageLayout::Millimeter);
    const QPointF origin = area.topLeft();
    qInfo("printable area of %s: %.1f x %.1f mm at %.1f, %.1f", qPrintable(kQueue), area.width(),
          area.height(), origin.x(), origin.y());
    for (int n = 0; n < 3; ++n) {
        QVERIFY2(run("pdfinfo", {files[n]}).contains(QRegularExpression("Pages:\\s+1\\n")),
                 qPrintable(files[n]));
        const QList<Word> words = wordsOf(files[n]);
        QVERIFY2(!words.isEmpty(), "pdftotext reads no text back");
        auto find = [&](const QString &text) {
            for (const Word &w : words)
                if (w.text == text)
                    return w;
            return Word{};
        };
        const Word name = find(QStringLiteral("Kugelfon"));
        QVERIFY2(qAbs(name.mm.right() - origin.x() - 120) < 1.0, qPrintable(QString::number(name.mm.right())));
        QVERIFY(!find(QStringLiteral("www.kugelfon.example.org")).text.isEmpty());
        for (int c = 0; c < 5; ++c) {
            const Word w = find(QString::number(expected[n][c]));
            QVERIFY2(!w.text.isEmpty(), qPrintable(QStringLiteral("ticket %1: %2 missing").arg(n + 1).arg(expected[n][c])));
            const QPointF at = w.mm.center() - origin;
            const QRectF cell(16 + 16 * c, 30, 16, 16);
            QVERIFY2(cell.contains(at), qPrintable(QStringLiteral("ticket %1: %2 at %3, %4 mm")
                                                       .arg(n + 1).arg(w.text).arg(at.x()).arg(at.y())));
        }
    }
}

void TestRealPrint::refusingQueueStopsTheRun()
{
    QVERIFY(!run("cupsreject", {kQueue}).isNull());
    QtPrinters printers;
    test::FakeRandom random;
    PrintSettings s;
    s.tickets = 2;
    s.printer = kQueue;
    TicketNumbers last;
    const PrintRunResult result = printTickets(s, printers, random, last);
    run("cupsaccept", {kQueue});
    QVERIFY(!result.completed);
    QCOMPARE(result.printed, 0);
}

void TestRealPrint::abbrechenStopsAfterTheTicketInHand()
{
    const auto pdfs = [this] {
        QStringList out;
        const QDir dir(m_outDir);
        for (const QString &f : dir.entryList({QStringLiteral("job_*.pdf")}, QDir::Files))
            if (f.mid(4).section(QLatin1Char('-'), 0, 0).toInt() >= m_firstJob)
                out.append(dir.filePath(f));
        return out;
    };
    const QStringList before = pdfs();

    test::FakeServices fakes;
    WatchedPrinters printers;
    Services services = fakes.services();
    services.printers = &printers;
    PrintDialog *dialog = openDialog(services, "5");
    QVERIFY(dialog);
    bool clicked = false;
    printers.onStartJob = [&](int n) {
        if (n == 1) // a slow first ticket: the run promises to take long
            QThread::msleep(300);
        auto *window = dialog->findChild<QDialog *>(QStringLiteral("frmFortschritt"));
        if (n == 3 && window && window->isVisible()) {
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmdAbbrechen")),
                              Qt::LeftButton);
            clicked = true;
        }
    };
    clickDrucken(dialog);
    delete dialog;
    QVERIFY(clicked);
    QCOMPARE(fakes.messages.shown.size(), 2);
    QCOMPARE(fakes.messages.shown[1].text, QStringLiteral("Gedruckt wurden 3 von 5 Spielscheinen."));

    // The queue must have done all it got before the PDFs are counted.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 60000
           && !run("lpstat", {"-W", "not-completed", "-o"}, 3000).trimmed().isEmpty())
        QTest::qWait(250);
    QStringList made = pdfs();
    for (const QString &f : before)
        made.removeAll(f);
    m_made += made;
    QCOMPARE(made.size(), 3);
}

void TestRealPrint::cleanupTestCase()
{
    for (const QString &f : std::as_const(m_made))
        QFile::remove(f);
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(5000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(2000);
        }
    }
}

int main(int argc, char **argv)
{
    // Short path: the socket name must fit a unix socket address.
    QTemporaryDir root(QStringLiteral("/tmp/kfcups-XXXXXX"));
    // Set before the application exists: libcups reads it once.
    qputenv("CUPS_SERVER", (root.path() + QStringLiteral("/cups.sock")).toLocal8Bit());
    QApplication app(argc, argv);
    TestRealPrint test(root.isValid() ? root.path() : QString());
    return QTest::qExec(&test, argc, argv);
}

#include "test_realprint.moc"
