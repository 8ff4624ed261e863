// The about window: texts rebuilt on each opening, the ways to close it, and
// starting the system information program found in PATH, or the message.
#include "ui/about/aboutwindow.h"
#include "fakes/fakes.h"
#include "platform/desktopsysinfo.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kugelfon;
using namespace kugelfon::test;

namespace {

const QString kNotAvailable = QStringLiteral("Systeminformationsprogramm zur Zeit nicht verfügbar.");

// PATH for the length of one test.
class PathGuard {
public:
    explicit PathGuard(const QString &path) : m_old(qgetenv("PATH")) { qputenv("PATH", path.toLocal8Bit()); }
    ~PathGuard() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

// An executable script that records its argument count and arguments in
// <dir>/<name>.args.
void writeProgram(const QString &dir, const QString &name, const QByteArray &shebang = "#!/bin/sh")
{
    QFile f(dir + QLatin1Char('/') + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(shebang + "\nprintf '%s|%s' \"$#\" \"$*\" > \"$0.args\"\n");
    f.close();
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

struct Fixture {
    FakeServices f;
    DesktopSystemInfo launcher;
    QPointer<AboutWindow> w;

    explicit Fixture(bool withLauncher = true)
    {
        Services s = f.services();
        s.sysinfo = withLauncher ? &launcher : nullptr;
        w = new AboutWindow(s);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    ~Fixture() { delete w.data(); }
    QLabel *label(const char *name) const { return w->findChild<QLabel *>(QString::fromUtf8(name)); }
    QPushButton *button(const char *name) const
    {
        return w->findChild<QPushButton *>(QString::fromUtf8(name));
    }
};

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void textsAreRebuiltOnEveryOpening();
    void closesByOkEnterEscAndFrame_data();
    void closesByOkEnterEscAndFrame();
    void enterOnSysInfoPressesSysInfo();
    void startsFirstKnownProgramWithoutArguments_data();
    void startsFirstKnownProgramWithoutArguments();
    void saysSoWhenNoneCanBeStarted_data();
    void saysSoWhenNoneCanBeStarted();
};

void TestAboutWindow::textsAreRebuiltOnEveryOpening()
{
    for (int opening = 0; opening < 2; ++opening) {
        Fixture x;
        QCOMPARE(x.w->objectName(), QStringLiteral("frmAbout"));
        QVERIFY(x.w->isWindow());
        QVERIFY(x.w->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(x.w->windowTitle(), QStringLiteral("Kugelfon 1.1 - Information"));
        QCOMPARE(x.label("lblTitle")->text(), QStringLiteral("Kugelfon"));
        QCOMPARE(x.label("lblVersion")->text(), QStringLiteral("Version 1.1"));
        QCOMPARE(x.label("lblProgErklärung")->text(),
                 QStringLiteral("Kugelfon erstellt per Zufallsgenarator Zahlen die dann akustisch "
                                "vorgetragen werden. Zudem können verschiedene Einstellungen "
                                "vorgenommen werden."));
        QCOMPARE(x.label("lblDisclaimer")->text(),
                 QStringLiteral("Warnung: Jegliche Programmänderungen oder Verfälschungen sind zu "
                                "unterlassen. Zudem wird    keine Haftung für verlorene Daten "
                                "übernommen."));
        QCOMPARE(x.label("lblInternet")->text(), QStringLiteral("www.kugelfon.example.org"));
        QCOMPARE(x.button("cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(x.button("cmdSysInfo")->text(), QStringLiteral("&System-Info..."));
        QCOMPARE(x.w->size(), QSize(420, 230)); // 6300 x 3450 twips
        QVERIFY(!x.label("picProduct")->pixmap().isNull());
        QVERIFY(x.label("lblTitle")->font().bold());
        QCOMPARE(QFontInfo(x.label("lblTitle")->font()).pixelSize(), 19); // 14.25 pt at 96 dpi
        // Tab order: OK first, then System-Info.
        QCOMPARE(x.button("cmdOK")->nextInFocusChain(), x.button("cmdSysInfo"));
        QTest::mouseClick(x.button("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(x.w.isNull());
    }
}

void TestAboutWindow::closesByOkEnterEscAndFrame_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("OK") << 0;
    QTest::newRow("Enter") << 1;
    QTest::newRow("Return") << 2;
    QTest::newRow("Esc") << 3;
    QTest::newRow("Esc on System-Info") << 4;
    QTest::newRow("frame") << 5;
}

void TestAboutWindow::closesByOkEnterEscAndFrame()
{
    QFETCH(int, how);
    Fixture x;
    x.w->activateWindow();
    x.button("cmdOK")->setFocus();
    switch (how) {
    case 0: QTest::mouseClick(x.button("cmdOK"), Qt::LeftButton); break;
    case 1: QTest::keyClick(x.w, Qt::Key_Enter); break;
    case 2: QTest::keyClick(x.w, Qt::Key_Return); break;
    case 3: QTest::keyClick(x.w, Qt::Key_Escape); break;
    case 4:
        x.button("cmdSysInfo")->setFocus();
        QTest::keyClick(x.button("cmdSysInfo"), Qt::Key_Escape);
        break;
    default: QVERIFY(x.w->close()); break;
    }
    QTRY_VERIFY(x.w.isNull());
    QVERIFY(x.f.messages.shown.isEmpty());
}

void TestAboutWindow::enterOnSysInfoPressesSysInfo()
{
    QTemporaryDir empty;
    PathGuard path(empty.path());
    Fixture x;
    x.w->activateWindow();
    x.button("cmdSysInfo")->setFocus();
    QTRY_VERIFY(x.button("cmdSysInfo")->hasFocus());
    QTest::keyClick(x.button("cmdSysInfo"), Qt::Key_Return);
    QCOMPARE(x.f.messages.shown.size(), 1);
    QVERIFY(!x.w.isNull());
}

void TestAboutWindow::startsFirstKnownProgramWithoutArguments_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("started");
    QTest::newRow("all three") << QStringList{QStringLiteral("xfce4-about"), QStringLiteral("kinfocenter"),
                                              QStringLiteral("hardinfo")}
                               << QStringLiteral("hardinfo");
    QTest::newRow("kinfocenter before xfce4-about")
        << QStringList{QStringLiteral("xfce4-about"), QStringLiteral("kinfocenter")}
        << QStringLiteral("kinfocenter");
    QTest::newRow("only xfce4-about") << QStringList{QStringLiteral("xfce4-about")}
                                      << QStringLiteral("xfce4-about");
}

void TestAboutWindow::startsFirstKnownProgramWithoutArguments()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, started);
    QTemporaryDir bin;
    for (const QString &name : installed)
        writeProgram(bin.path(), name);
    // A second PATH entry without any of them, to show the search goes on.
    QTemporaryDir other;
    PathGuard path(other.path() + QLatin1Char(':') + bin.path());

    Fixture x;
    QTest::mouseClick(x.button("cmdSysInfo"), Qt::LeftButton);
    QFile args(bin.path() + QLatin1Char('/') + started + QStringLiteral(".args"));
    QTRY_VERIFY_WITH_TIMEOUT(args.exists() && args.size() > 0, 10000);
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(args.readAll(), QByteArray("0|"));
    for (const QString &name : installed)
        if (name != started)
            QVERIFY2(!QFile::exists(bin.path() + QLatin1Char('/') + name + QStringLiteral(".args")),
                     qPrintable(name));
    QVERIFY(x.f.messages.shown.isEmpty());
    QVERIFY(!x.w.isNull());
    QVERIFY(x.w->isVisible());
}

void TestAboutWindow::saysSoWhenNoneCanBeStarted_data()
{
    QTest::addColumn<int>("setup");
    QTest::newRow("none in PATH") << 0;
    QTest::newRow("not executable") << 1;
    QTest::newRow("start fails") << 2;
    QTest::newRow("no launcher") << 3;
}

void TestAboutWindow::saysSoWhenNoneCanBeStarted()
{
    QFETCH(int, setup);
    QTemporaryDir bin;
    if (setup == 1) {
        QFile f(bin.path() + QStringLiteral("/hardinfo"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
    } else if (setup == 2) {
        writeProgram(bin.path(), QStringLiteral("hardinfo"), "#!/nonexistent/interpreter");
    }
    PathGuard path(bin.path());

    Fixture x(setup != 3);
    QTest::mouseClick(x.button("cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(x.f.messages.shown.size(), 1);
    const ShownBox box = x.f.messages.shown.first();
    QCOMPARE(box.text, kNotAvailable);
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QCOMPARE(box.title, QStringLiteral("Kugelfon"));
    QVERIFY(!x.w.isNull());
    QVERIFY(x.w->isVisible());
    // The window can be used again afterwards.
    QTest::mouseClick(x.button("cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(x.f.messages.shown.size(), 2);
}

QTEST_MAIN(TestAboutWindow)
#include "test_aboutwindow.moc"
