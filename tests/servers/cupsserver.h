#pragma once

// A private cupsd on a socket of its own, with cups-pdf queues that write
// into its own folder, never into anyone's home. Needs root, as cups-pdf does.

#include "fakes/testkit.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>

namespace kugelfon::test {

class CupsServer {
public:
    // Before the application exists: libcups reads CUPS_SERVER once.
    CupsServer() { qputenv("CUPS_SERVER", (m_root.path() + "/cups.sock").toLocal8Bit()); }
    ~CupsServer() { end(); }
    void end()
    {
        if (pid() > 0)
            ::kill(pid(), SIGCONT); // a stopped server does not hear the end
        stop(m_cupsd);
        QFile::remove(settings());
    }

    // Empty once the server runs, else why not.
    QString start()
    {
        if (!m_root.isValid() || geteuid() != 0)
            return "not root or no temporary folder: a private cupsd with the cups-pdf backend needs both";
        for (const char *file : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat", "/usr/bin/pdftotext",
                                 "/usr/lib/cups/backend/cups-pdf", kPpd})
            if (!QFile::exists(file))
                return QString(file) + " is not installed";
        const QString root = m_root.path();
        for (const char *sub : {"spool/tmp", "cache", "state", "ppd", "log", "pdf", "pdfspool"})
            QDir(root).mkpath(sub);
        QFile(root).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                   | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        const std::pair<QString, QString> files[] = {
            {root + "/cupsd.conf", "Listen %1/cups.sock\nLogLevel warn\nBrowsing Off\nDefaultAuthType None\nWebInterface No\n"
                                   "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                   "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"},
            {root + "/cups-files.conf", "ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                                        "TempDir %1/spool/tmp\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                                        "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                                        "User lp\nGroup lp\nSystemGroup root\nFileDevice No\n"},
            // cups-pdf reads a queue's settings by the name in its address, from /etc/cups only.
            {settings(), "Out %1/pdf\nAnonDirName %1/pdf\nSpool %1/pdfspool\nLog %1/log\n"},
            {root + "/cache/job.cache", "NextJobId 100000\n"}};
        for (const auto &[name, text] : files)
            if (QFile f(name); !f.open(QIODevice::WriteOnly) || f.write(QString(text).replace("%1", root).toUtf8()) <= 0)
                return "cannot write " + name;
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start("/usr/sbin/cupsd", {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
        const auto up = [&] { return m_cupsd.state() == QProcess::NotRunning || tool("lpstat", {"-r"}).contains("scheduler is running"); };
        if (eventually(up, 15000, 100) && m_cupsd.state() != QProcess::NotRunning)
            return {};
        QFile log(root + "/log/error_log");
        log.open(QIODevice::ReadOnly);
        return "a private cupsd cannot run here: " + QString::fromUtf8(m_cupsd.readAll() + log.readAll().right(600));
    }

    // A cups-pdf queue writing into pdfs(), with text that pdftotext reads back.
    bool addQueue(const QString &queue) const
    {
        return !tool("lpadmin", {"-p", queue, "-E", "-v", "cups-pdf:/" + m_tag, "-P", kPpd,
                                 "-o", "pdftops-renderer-default=pdftocairo", "-o", "Label=1"}).isNull();
    }
    // The PDFs so far, one per job (job_<id>-<title>.pdf), in job order: the ids have six digits.
    QStringList pdfs() const
    {
        QStringList out;
        for (const QFileInfo &f : QDir(m_root.path() + "/pdf").entryInfoList({"job_*.pdf"}, QDir::Files, QDir::Name))
            out << f.filePath();
        return out;
    }
    // Jobs the server was told to print: each Release-Job is in its access log.
    int released() const
    {
        QFile log(m_root.path() + "/log/access_log");
        return log.open(QIODevice::ReadOnly) ? int(log.readAll().count("Release-Job successful-ok")) : 0;
    }
    pid_t pid() const { return pid_t(m_cupsd.processId()); }

private:
    static constexpr const char *kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
    QString settings() const { return "/etc/cups/cups-pdf-" + m_tag + ".conf"; }

    QTemporaryDir m_root{"/tmp/kfcups-XXXXXX"}; // short: a socket's path has little room
    QString m_tag = QString("kugelfon%1").arg(QRandomGenerator::global()->bounded(100000, 900000));
    QProcess m_cupsd;
};

} // namespace kugelfon::test
